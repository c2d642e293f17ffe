#include <gtest/gtest.h>

#include <optional>

#include <QTest>

#include "store/memo_table.h"
#include "support/faults.h"
#include "support/main_window.h"
#include "ui/viewer/frm_memo2.h"

using testing_support::Workstation;

class RowActions : public testing_support::OnEachEngine {
protected:
    void SetUp() override {
        OnEachEngine::SetUp();
        if (IsSkipped()) {
            return;
        }
        w.office.makeDataFile();
        for (int i = 1; i <= 11; ++i) {
            w.office.addMessage(QStringLiteral("山田"), QStringLiteral("相手%1").arg(i),
                                QStringLiteral("受人%1").arg(12 - i),
                                QStringLiteral("メモ%1").arg(i));
        }
        w.startAs(QStringLiteral("山田"));
        QTest::mouseClick(w.form->Command1, Qt::LeftButton);
        ASSERT_EQ(grid().rowCount(), 11);
        w.prompts.shown.clear();
        w.prompts.messages.clear();
    }
    SpreadGrid& grid() { return *w.form->SS1; }
    Workstation w{GetParam()};
};
DULVANE_ON_EACH_ENGINE(RowActions);

TEST_P(RowActions, DeleteAsksWithTheRowNumberAndNoChangesNothing) {
    w.form->SS1_Click(1, 2);
    EXPECT_EQ(w.prompts.shown, QStringList{"?2行目のデータを削除します。"});
    EXPECT_EQ(w.office.rowCount(), 11);
    EXPECT_EQ(grid().rowCount(), 11);
    EXPECT_EQ(grid().text(GridColumn::Number, 2), QStringLiteral("10"));
}

TEST_P(RowActions, DeleteWithYesRemovesTheMessageAndMovesTheRowsUp) {
    w.prompts.answers = {true, true};
    w.form->SS1_Click(1, 2);  // message 10
    EXPECT_EQ(w.office.rowCount(), 10);
    EXPECT_EQ(grid().text(GridColumn::Number, 2), QStringLiteral("9"));
    w.form->SS1_Click(1, 2);  // the row below moved up: the question names row 2 again
    EXPECT_EQ(w.prompts.shown,
              (QStringList{"?2行目のデータを削除します。", "?2行目のデータを削除します。"}));
    const QStringList rows = w.office.rows();
    EXPECT_FALSE(rows.join('\n').contains(QStringLiteral("メモ10")));
    EXPECT_FALSE(rows.join('\n').contains(QStringLiteral("メモ9|")));
    EXPECT_EQ(grid().text(GridColumn::Number, 2), QStringLiteral("8"));
}

TEST_P(RowActions, AnEmptyRowAsksNothingAndAGoneMessageDeletesQuietly) {
    QTest::mouseClick(w.form->Cmd_Clear, Qt::LeftButton);
    w.form->SS1_Click(1, 1);
    EXPECT_TRUE(w.prompts.shown.isEmpty());

    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    store::memo::remove(*w.office.openData(), 11);
    w.prompts.answers = {true};
    w.form->SS1_Click(1, 1);
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("10"));
}

TEST_P(RowActions, AFailedDeleteSaysSoAndKeepsTheRow) {
    std::unique_ptr<testing_support::DataLock> otherLock = w.office.lockData();
    w.prompts.answers = {true};
    w.form->SS1_Click(1, 1);
    otherLock.reset();
    EXPECT_EQ(w.prompts.messages, QStringList{"データベース削除に失敗しました。"});
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("11"));
    EXPECT_EQ(w.office.rowCount(), 11);
}

TEST_P(RowActions, AStaleRowDeletesNothingWhenAnotherMessageNowHoldsItsNumber) {
    w.state.logPath = w.office.path(QStringLiteral("dulvane.log"));
    // Data put back from a backup behind the listing: ＮＯ 11 went to another message since.
    w.office.giveNumberToAnother(
        11, {QStringLiteral("山田"), QStringLiteral("相手11"), QStringLiteral("受人1"),
             QStringLiteral("別の伝言"), QStringLiteral("内線"), QStringLiteral("-"),
             QStringLiteral("2026/12/01 09:30"), std::nullopt});
    const QStringList before = w.office.rows();
    w.prompts.answers = {true};
    w.form->SS1_Click(1, 1);
    EXPECT_EQ(w.prompts.messages,
              QStringList{"この伝言は一覧を表示した後に変わったため、削除しませんでした。"
                          "一覧を表示し直してください。"});
    EXPECT_EQ(w.office.rows(), before);
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("11"));
    const QStringList log = testing_support::readLines(w.state.logPath);
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0].section(u'\t', 1, 1), QStringLiteral("delete"));
    EXPECT_TRUE(log[0].contains(QStringLiteral("ＮＯ 11")) && log[0].contains("stale"))
        << log[0].toStdString();
}

TEST_P(RowActions, HeaderClicksSortAscendingWithoutAsking) {
    w.form->SS1_Click(8, 0);  // 受付NO: as numbers, 10 after 9
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("1"));
    EXPECT_EQ(grid().text(GridColumn::Number, 9), QStringLiteral("9"));
    EXPECT_EQ(grid().text(GridColumn::Number, 10), QStringLiteral("10"));
    EXPECT_EQ(grid().text(GridColumn::Memo, 10), QStringLiteral("メモ10"));  // whole rows move
    w.form->SS1_Click(6, 0);                                                 // 受人 as text
    EXPECT_EQ(grid().text(GridColumn::Name, 1), QStringLiteral("受人1"));
    EXPECT_EQ(grid().text(GridColumn::Name, 2), QStringLiteral("受人10"));
    EXPECT_EQ(grid().text(GridColumn::Memo, 1), QStringLiteral("メモ11"));
    EXPECT_EQ(grid().header(GridColumn::Name), QStringLiteral("受人"));
    w.form->SS1_Click(1, 0);  // 削除 header: sorts, never asks
    EXPECT_TRUE(w.prompts.shown.isEmpty());
    EXPECT_EQ(w.office.rowCount(), 11);
}

TEST_P(RowActions, DoubleClickShowsOneReusedViewerWithTheGridTexts) {
    w.form->SS1_DblClick(5, 1);
    Frm_Memo2* viewer = w.form->memoViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Txt_From->text(), QStringLiteral("相手11様"));
    EXPECT_EQ(viewer->TxT_Memo->text(), QStringLiteral("メモ11"));
    // A message longer than the box is read from its beginning.
    EXPECT_EQ(viewer->TxT_Memo->cursorPosition(), 0);
    w.form->SS1_DblClick(2, 3);
    EXPECT_EQ(w.form->memoViewer(), viewer);
    EXPECT_EQ(viewer->Txt_From->text(), QStringLiteral("相手9様"));
    // Closed: it is discarded, and the next double click makes a new one.
    QPointer<Frm_Memo2> old = viewer;
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(old);
    w.form->SS1_DblClick(3, 2);
    ASSERT_NE(w.form->memoViewer(), nullptr);
    EXPECT_EQ(w.form->memoViewer()->TxT_Memo->text(), QStringLiteral("メモ10"));
}

TEST_P(RowActions, DeletingTheMessageTheViewerShowsClosesTheViewer) {
    w.form->SS1_DblClick(3, 2);  // message 10
    QPointer<Frm_Memo2> viewer = w.form->memoViewer();
    ASSERT_NE(viewer, nullptr);
    w.prompts.answers = {true, true};
    w.form->SS1_Click(1, 1);  // message 11: the viewer stays
    EXPECT_TRUE(viewer && viewer->isVisible());
    w.form->SS1_Click(1, 1);  // message 10
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(viewer);
    EXPECT_EQ(w.office.rowCount(), 9);
}

TEST_P(RowActions, DoubleClickOnAHeaderOrARowWithoutACallerOpensNothing) {
    w.form->SS1_DblClick(3, 0);
    EXPECT_EQ(w.form->memoViewer(), nullptr);
    w.office.addRow({QStringLiteral("山田"), std::nullopt, std::nullopt, QStringLiteral("相手なし"),
                     std::nullopt, std::nullopt, std::nullopt, std::nullopt});
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    ASSERT_EQ(grid().text(GridColumn::Memo, 1), QStringLiteral("相手なし"));
    w.form->SS1_DblClick(4, 1);
    EXPECT_EQ(w.form->memoViewer(), nullptr);
}

TEST_P(RowActions, RealMouseClicksReachTheHandlers) {
    w.form->show();
    SpreadGrid& g = grid();
    const QRect cell = g.visualRect(g.model()->index(0, 0));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(w.prompts.shown, QStringList{"?1行目のデータを削除します。"});
    const QRect callerCell = g.visualRect(g.model()->index(1, 2));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, callerCell.center());
    QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, callerCell.center());
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, callerCell.center());
    ASSERT_NE(w.form->memoViewer(), nullptr);
    EXPECT_EQ(w.form->memoViewer()->Txt_From->text(), QStringLiteral("相手10様"));
}
