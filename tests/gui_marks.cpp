// The marks on the main window: 至急 sent and shown red, 対応済 set from the row's menu and shown
// grey to the taker, the ready phrases beside the memo text, and data without them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "store/listed_message.h"
#include "store/location.h"
#include "store/memo_table.h"
#include "store/phrases.h"
#include "support/main_window.h"
#include "ui/main/spread_grid.h"
#include "ui/main/spread_model.h"
#include "ui/viewer/frm_memo2.h"

using testing_support::Workstation;

namespace {

class MarksOnWindow : public testing_support::OnEachEngine {
protected:
    QVariant cell(int Row, int role) {
        return w.form->SS1->model()->index(Row - 1, int(GridColumn::Memo) - 1).data(role);
    }
    QColor textColor(int Row) { return cell(Row, Qt::ForegroundRole).value<QBrush>().color(); }
    // The row's menu entry with text, triggered.
    void choose(int Row, const QString& text) {
        const std::unique_ptr<QMenu> menu = w.form->rowMenu(Row);
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                ASSERT_TRUE(action->isEnabled()) << text.toStdString();
                action->trigger();
                return;
            }
        }
        FAIL() << "no entry " << text.toStdString();
    }
    QAction* markEntry(int Row) {
        menu_ = w.form->rowMenu(Row);
        return menu_ ? menu_->findChild<QAction*>(QStringLiteral("mark")) : nullptr;
    }
    QStringList phrases() {
        QStringList texts;
        for (QAction* action : w.form->phraseMenu()->actions()) {
            texts << action->text();
        }
        return texts;
    }
    Workstation w{GetParam()};
    std::unique_ptr<QMenu> menu_;
};
DULVANE_ON_EACH_ENGINE(MarksOnWindow);

const QString kHandle = QStringLiteral("対応済みにする");
const QString kUnhandle = QStringLiteral("未対応に戻す");

}  // namespace

TEST_P(MarksOnWindow, AnUrgentSendIsStoredAndListedInRedAndTheResetClearsTheBox) {
    w.startAs(QStringLiteral("山田"));
    Form1& f = *w.form;
    ASSERT_TRUE(f.Chk_Urgent->isEnabled());
    for (const bool urgent : {true, false}) {
        f.Cmb_To->setEditText(QStringLiteral("山田"));
        f.Cmb_From->setEditText(QStringLiteral("佐藤"));
        f.Chk_Urgent->setChecked(urgent);
        f.Command2_Click();
        EXPECT_FALSE(f.Chk_Urgent->isChecked());
    }
    f.Chk_Urgent->setChecked(true);
    f.Cmd_Clear_Click();
    EXPECT_FALSE(f.Chk_Urgent->isChecked());

    f.Command1_Click();
    ASSERT_EQ(f.SS1->rowCount(), 2);
    EXPECT_FALSE(cell(1, SpreadModel::UrgentRole).toBool());
    EXPECT_FALSE(cell(1, Qt::ForegroundRole).isValid());
    EXPECT_TRUE(cell(2, SpreadModel::UrgentRole).toBool());
    EXPECT_EQ(textColor(2).red(), 0xd0);
    // Sorting moves the mark with its row.
    f.SS1_Click(int(GridColumn::Number), 0);
    EXPECT_TRUE(cell(1, SpreadModel::UrgentRole).toBool());
    EXPECT_EQ(w.office.rows()[0].section(u'|', 9, 9), QStringLiteral("1"));
}

TEST_P(MarksOnWindow, TheRowsMenuMarksHandledGreyForTheTakerAndBack) {
    w.office.makeDataFile();
    w.office.addMessage(QStringLiteral("田中"), QStringLiteral("佐藤"), QStringLiteral("山田"));
    w.startAs(QStringLiteral("田中"));
    Form1& f = *w.form;
    f.Command1_Click();
    choose(1, kHandle);
    EXPECT_TRUE(cell(1, SpreadModel::HandledRole).toBool());
    EXPECT_EQ(textColor(1), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(markEntry(1)->text(), kUnhandle);

    // The taker's sent list shows it handled.
    w.state.My_Name = QStringLiteral("山田");
    f.Command3_Click();
    ASSERT_EQ(f.SS1->rowCount(), 1);
    EXPECT_TRUE(cell(1, SpreadModel::HandledRole).toBool());
    choose(1, kUnhandle);
    EXPECT_FALSE(cell(1, SpreadModel::HandledRole).toBool());
    EXPECT_EQ(w.office.rows()[0].count(u'|'), 8);  // both marks Null again
    EXPECT_TRUE(w.prompts.messages.isEmpty()) << w.prompts.messages.join(u'\n').toStdString();
}

TEST_P(MarksOnWindow, TheRowsMenuOpensAndDeletesAsTheGridDoesAndAStaleRowIsNotMarked) {
    w.office.makeDataFile();
    const qint64 no =
        w.office.addMessage(QStringLiteral("田中"), QStringLiteral("佐藤"), QStringLiteral("山田"));
    w.office.addMessage(QStringLiteral("田中"), QStringLiteral("鈴木"), QStringLiteral("山田"));
    w.startAs(QStringLiteral("田中"));
    Form1& f = *w.form;
    f.Command1_Click();
    EXPECT_FALSE(f.rowMenu(3));  // an empty row has no menu
    choose(1, QStringLiteral("開く"));
    ASSERT_TRUE(f.memoViewer());
    EXPECT_EQ(f.memoViewer()->Txt_From->text(), QStringLiteral("鈴木様"));
    choose(1, QStringLiteral("削除"));  // answered No
    EXPECT_EQ(w.prompts.shown.last(), QStringLiteral("?1行目のデータを削除します。"));
    EXPECT_EQ(w.office.rowCount(), 2);

    w.office.giveNumberToAnother(
        no, {QStringLiteral("田中"), QStringLiteral("別人"), QStringLiteral("山田"),
             QStringLiteral("別の伝言"), QStringLiteral("内線"), QStringLiteral("-"),
             QStringLiteral("2026/12/01 09:30"), std::nullopt});
    choose(2, kHandle);
    EXPECT_EQ(w.prompts.messages.last(),
              QStringLiteral("この伝言は一覧を表示した後に変わったため、印を付けませんでした。"
                             "一覧を表示し直してください。"));
    EXPECT_FALSE(cell(2, SpreadModel::HandledRole).toBool());
    EXPECT_EQ(w.office.rows()[0].count(u'|'), 8);
}

TEST_P(MarksOnWindow, OldDataWorksWithoutTheMarksAndSaysOnceWhichCommandAddsThem) {
    QTemporaryDir logs;
    w.state.logPath = logs.filePath(QStringLiteral("dulvane.log"));
    w.office.makeOldDataFile();
    w.office.addMessage(QStringLiteral("田中"), QStringLiteral("佐藤"), QStringLiteral("山田"));
    w.startAs(QStringLiteral("田中"));
    ASSERT_EQ(w.prompts.messages.size(), 1);
    EXPECT_TRUE(w.prompts.messages[0].endsWith(QStringLiteral("\ndulvane-admin upgrade ") +
                                               store::maskedLocation(w.office.dataPath())))
        << w.prompts.messages[0].toStdString();
    Form1& f = *w.form;
    EXPECT_FALSE(f.Chk_Urgent->isEnabled());
    EXPECT_EQ(phrases(), store::phrases::defaults());
    f.Command1_Click();
    ASSERT_EQ(f.SS1->rowCount(), 1);
    EXPECT_FALSE(markEntry(1)->isEnabled());
    f.Cmb_To->setEditText(QStringLiteral("田中"));
    f.Cmb_From->setEditText(QStringLiteral("佐藤"));
    f.Command2_Click();
    EXPECT_EQ(w.prompts.messages.last(), QStringLiteral("メッセージを送信しました。"));
    EXPECT_EQ(w.office.rowCount(), 2);

    // Not again at the next start.
    w.prompts.messages.clear();
    w.start();
    EXPECT_TRUE(w.prompts.messages.isEmpty()) << w.prompts.messages.join(u'\n').toStdString();
}

TEST_P(MarksOnWindow, AChosenPhraseReplacesTheMemoTextAndTheResetReadsTheOfficesPhrases) {
    w.startAs(QStringLiteral("田中"));
    Form1& f = *w.form;
    EXPECT_EQ(phrases(), store::phrases::defaults());
    store::phrases::add(*w.office.openData(), QStringLiteral("R&D から & のある伝言"));
    f.Cmd_Clear_Click();
    QTest::mouseClick(f.Cmd_Phrase, Qt::LeftButton);
    EXPECT_TRUE(f.phraseMenu()->isVisible());
    f.phraseMenu()->hide();
    const QList<QAction*> actions = f.phraseMenu()->actions();
    ASSERT_EQ(actions.size(), 6);
    actions[5]->trigger();
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("R&D から & のある伝言"));
    actions[0]->trigger();
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("折り返しお電話ください。"));
    // Emptied by the office: one entry that says so and does nothing.
    for (int place = 6; place >= 1; --place) {
        store::phrases::remove(*w.office.openData(), place);
    }
    f.Cmd_Clear_Click();
    ASSERT_EQ(f.phraseMenu()->actions().size(), 1);
    EXPECT_FALSE(f.phraseMenu()->actions()[0]->isEnabled());
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
}

TEST(GridRowMenu, ARightClickNamesTheRowUnderTheMouseAndAnEmptyPlaceNone) {
    SpreadGrid grid;
    grid.resize(500, 300);
    for (int i = 1; i <= 3; ++i) {
        GridRow row;
        row.setText(GridColumn::Memo, QStringLiteral("メモ%1").arg(i));
        grid.appendRow(std::move(row));
    }
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QSignalSpy spy(&grid, &SpreadGrid::ContextMenu);
    const QPoint onRow2 = grid.visualRect(grid.model()->index(1, 3)).center();
    QContextMenuEvent onRow(QContextMenuEvent::Mouse, onRow2, grid.viewport()->mapToGlobal(onRow2));
    QApplication::sendEvent(grid.viewport(), &onRow);
    const QPoint below(onRow2.x(), grid.viewport()->height() - 2);
    QContextMenuEvent onNothing(QContextMenuEvent::Mouse, below,
                                grid.viewport()->mapToGlobal(below));
    QApplication::sendEvent(grid.viewport(), &onNothing);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 2);
    EXPECT_EQ(grid.currentIndex().row(), 1);
}
