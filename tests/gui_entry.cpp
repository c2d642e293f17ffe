#include <gtest/gtest.h>

#include <optional>

#include <QDateTime>
#include <QInputMethodEvent>
#include <QTest>

#include "store/date_time_text.h"
#include "support/main_window.h"

using testing_support::DataLock;
using testing_support::Workstation;

namespace {

QStringList items(QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) {
        out << box->itemText(i);
    }
    out.sort();
    return out;
}

void fill(Form1& f, const QString& to, const QString& from, const QString& taker,
          const QString& memo) {
    f.Cmb_To->setEditText(to);
    f.Cmb_From->setEditText(from);
    f.Cmb_My->setEditText(taker);
    f.TxT_Memo->setText(memo);
}

// The time text is current when it lies between two readings of the clock around the action.
bool isCurrent(const QString& text, const QDateTime& before, const QDateTime& after) {
    return text == store::dateTimeText(before) || text == store::dateTimeText(after);
}

const QString kSent = QStringLiteral("メッセージを送信しました。");
const QString kMissing = QStringLiteral("未入力項目があります。");
const QString kFailed = QStringLiteral("データベース登録に失敗しました。");

}  // namespace

class Send : public testing_support::OnEachEngine {};
DULVANE_ON_EACH_ENGINE(Send);
class Reset : public testing_support::OnEachEngine {};
DULVANE_ON_EACH_ENGINE(Reset);

TEST_P(Send, EachEmptyRequiredFieldStopsTheSendBeforeAnythingIsWritten) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    for (int empty = 0; empty < 4; ++empty) {
        fill(f, empty == 0 ? QString() : QStringLiteral("山田"),
             empty == 1 ? QString() : QStringLiteral("佐藤"),
             empty == 2 ? QString() : QStringLiteral("鈴木"),
             empty == 3 ? QString() : QStringLiteral("至急"));
        f.Txt_Time->setText(QStringLiteral("typed by hand"));
        w.prompts.messages.clear();
        const QDateTime before = QDateTime::currentDateTime();
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        const QDateTime after = QDateTime::currentDateTime();
        EXPECT_EQ(w.prompts.messages, QStringList{kMissing}) << empty;
        EXPECT_TRUE(isCurrent(f.Txt_Time->text(), before, after)) << empty;
        EXPECT_EQ(w.office.rowCount(), 0);
    }
    // Fields keep what was typed.
    EXPECT_EQ(f.Cmb_To->currentText(), QStringLiteral("山田"));
    EXPECT_EQ(f.TxT_Memo->text(), QString());
}

TEST_P(Send, StoresTheLineTheNumberAndTheMomentOfSendingThenResets) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    fill(f, QStringLiteral("山田"), QStringLiteral("佐藤商事 佐藤"), QStringLiteral("鈴木"),
         QStringLiteral("折り返しお願いします"));
    f.Option2->setChecked(true);
    f.Txt_Time->setText(QStringLiteral("1999/01/01 00:00"));
    const QDateTime before = QDateTime::currentDateTime();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    const QDateTime after = QDateTime::currentDateTime();

    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    const QStringList rows = w.office.rows();
    ASSERT_EQ(rows.size(), 1);
    const QStringList cells = rows[0].split(u'|');
    EXPECT_EQ(cells.mid(1, 6),
              (QStringList{"山田", "佐藤商事 佐藤", "鈴木", "折り返しお願いします", "外線", "-"}));
    EXPECT_TRUE(isCurrent(cells[7], before, after)) << cells[7].toStdString();
    EXPECT_EQ(cells[8], QStringLiteral("<null>"));

    // Reset afterwards: lists hold the new names, texts are back to their defaults, and the
    // line option stays as the user left it.
    EXPECT_EQ(items(f.Cmb_To), QStringList{"山田"});
    EXPECT_EQ(items(f.Cmb_From), QStringList{"佐藤商事 佐藤"});
    EXPECT_EQ(items(f.Cmb_My), QStringList{"鈴木"});
    EXPECT_EQ(f.Cmb_To->currentText(), QString());
    EXPECT_EQ(f.Cmb_From->currentText(), QString());
    EXPECT_EQ(f.Cmb_My->currentText(), QStringLiteral("鈴木"));
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
    EXPECT_TRUE(f.Option2->isChecked());
    EXPECT_TRUE(f.Chk1->isChecked());

    // Inner line with a number.
    fill(f, QStringLiteral("山田"), QStringLiteral("田中"), QStringLiteral("鈴木"),
         QStringLiteral("x"));
    f.Option1->setChecked(true);
    f.Txt_Tel->setText(QStringLiteral("03-1234-5678"));
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    const QStringList second = w.office.rows().at(1).split(u'|');
    EXPECT_EQ(second[5], QStringLiteral("内線"));
    EXPECT_EQ(second[6], QStringLiteral("03-1234-5678"));
    EXPECT_EQ(f.Txt_Tel->text(), QString());
}

TEST_P(Send, AwkwardTextsAreStoredExactly) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    const QStringList texts = {
        QStringLiteral("O'Brien'); DROP TABLE MEMO_T;--"),
        QStringLiteral("*?#[!a-z]%_\\"),
        QStringLiteral("ｶﾀｶﾅ ひらがな 漢字 Ｆｕｌｌ"),
        QStringLiteral("emoji 📞😀 outside the basic plane"),
        QStringLiteral("עברית mixed العربية"),
        QStringLiteral("  spaces only count as text  "),
        QString(100, QChar(u'長')),
    };
    for (const QString& text : texts) {
        fill(f, text, text, text, text.left(100));
        f.Txt_Tel->setText(text.left(50));
        QTest::mouseClick(f.Command2, Qt::LeftButton);
    }
    const QStringList rows = w.office.rows();
    ASSERT_EQ(rows.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        const QStringList cells = rows[i].split(u'|');
        EXPECT_EQ(cells[1], texts[i]);
        EXPECT_EQ(cells[2], texts[i]);
        EXPECT_EQ(cells[3], texts[i]);
        EXPECT_EQ(cells[4], texts[i].left(100));
        EXPECT_EQ(cells[6], texts[i].left(50));
    }
    EXPECT_EQ(w.prompts.messages.count(kSent), texts.size());
}

TEST_P(Send, NumbersKeepRisingAfterTheNewestMessageIsDeleted) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    const qint64 newest = w.office.addMessage("a", "b", "c");
    w.office.removeMessages();
    fill(*w.form, "a", "b", "c", "d");
    QTest::mouseClick(w.form->Command2, Qt::LeftButton);
    ASSERT_EQ(w.office.rowCount(), 1);
    EXPECT_GT(w.office.rows()[0].section(u'|', 0, 0).toLongLong(), newest);
}

TEST_P(Send, AFailedInsertSaysSoAndKeepsEveryField) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    fill(f, "山田", "佐藤", "鈴木", "伝言");
    f.Txt_Tel->setText("123");
    // Another workstation holds the data for longer than we wait.
    std::unique_ptr<DataLock> otherLock = w.office.lockData();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    otherLock.reset();
    EXPECT_EQ(w.prompts.messages, QStringList{kFailed});
    EXPECT_EQ(f.Cmb_To->currentText(), "山田");
    EXPECT_EQ(f.Cmb_From->currentText(), "佐藤");
    EXPECT_EQ(f.Cmb_My->currentText(), "鈴木");
    EXPECT_EQ(f.TxT_Memo->text(), "伝言");
    EXPECT_EQ(f.Txt_Tel->text(), "123");
    EXPECT_EQ(w.office.rowCount(), 0);
}

// A name typed into a box whose pick list holds a longer name beginning with it is sent as
// typed, also after Enter, and Enter adds nothing to the list. Typed on the keyboard (Latin
// letters) and committed by an input method (Japanese), in each of the three boxes.
TEST_P(Send, ATypedPrefixOfAListedNameIsStoredExactly) {
    Workstation w(GetParam());
    w.office.makeDataFile();
    w.office.addMessage("Sato Shoji Sato", "Sato Shoji Sato", "Sato Shoji Sato");
    w.office.addMessage("佐藤商事 佐藤", "佐藤商事 佐藤", "佐藤商事 佐藤");
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    const auto byKeys = [](QComboBox* box, const QString& text) { QTest::keyClicks(box, text); };
    const auto byInputMethod = [](QComboBox* box, const QString& text) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box->lineEdit(), &commit);
    };
    const struct {
        QString prefix;
        std::function<void(QComboBox*, const QString&)> type;
    } cases[] = {{"Sato", byKeys}, {QStringLiteral("佐藤"), byInputMethod}};
    for (const auto& c : cases) {
        for (QComboBox* box : {f.Cmb_To, f.Cmb_From, f.Cmb_My}) {
            box->setEditText(QString());
            const int listed = box->count();
            box->setFocus();
            c.type(box, c.prefix);
            EXPECT_EQ(box->currentText(), c.prefix) << box->objectName().toStdString();
            QTest::keyClick(box, Qt::Key_Return);
            EXPECT_EQ(box->currentText(), c.prefix) << box->objectName().toStdString();
            EXPECT_EQ(box->count(), listed) << box->objectName().toStdString();
        }
        w.prompts.messages.clear();
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        EXPECT_EQ(w.prompts.messages, QStringList{kSent});
        const QStringList cells = w.office.rows().constLast().split(u'|');
        EXPECT_EQ(cells.mid(1, 3), (QStringList{c.prefix, c.prefix, c.prefix}));
    }
    // Picking from the list still takes the listed name.
    f.Cmb_From->setFocus();
    QTest::keyClick(f.Cmb_From, Qt::Key_Down);
    EXPECT_TRUE(items(f.Cmb_From).contains(f.Cmb_From->currentText()));
    EXPECT_FALSE(f.Cmb_From->currentText().isEmpty());
}

TEST_P(Reset, OverAnEmptyTableKeepsTheListsButEmptiesTheTexts) {
    Workstation w(GetParam());
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    ASSERT_EQ(items(f.Cmb_To), QStringList{"山田"});
    w.office.removeMessages();
    fill(f, "x", "y", "z", "w");
    f.Txt_Tel->setText("9");
    f.Option2->setChecked(true);
    f.Chk1->setChecked(false);
    QTest::mouseClick(f.Cmd_Clear, Qt::LeftButton);
    EXPECT_EQ(items(f.Cmb_To), QStringList{"山田"});
    EXPECT_EQ(items(f.Cmb_From), QStringList{"佐藤"});
    EXPECT_EQ(items(f.Cmb_My), QStringList{"鈴木"});
    EXPECT_EQ(f.Cmb_To->currentText(), QString());
    EXPECT_EQ(f.Cmb_From->currentText(), QString());
    EXPECT_EQ(f.Cmb_My->currentText(), "鈴木");
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
    EXPECT_EQ(f.Txt_Tel->text(), QString());
    EXPECT_TRUE(f.Option2->isChecked());
    EXPECT_FALSE(f.Chk1->isChecked());
    EXPECT_TRUE(w.prompts.messages.isEmpty());
}

TEST_P(Reset, ClearsTheGridButKeepsItsRowsAndHeaders) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    SpreadGrid& grid = *w.form->SS1;
    EXPECT_EQ(grid.text(GridColumn::DateTime, 1), QString());  // the sample row is gone
    GridRow leftOver;
    leftOver.setText(GridColumn::Memo, QStringLiteral("left over"));
    leftOver.setNumber(7);
    grid.appendRow(leftOver);
    const int rows = grid.rowCount();
    QTest::mouseClick(w.form->Cmd_Clear, Qt::LeftButton);
    EXPECT_EQ(grid.text(GridColumn::Memo, rows), QString());
    EXPECT_EQ(grid.number(rows), std::nullopt);
    EXPECT_EQ(grid.rowCount(), rows);
    EXPECT_EQ(grid.header(GridColumn::Number), QStringLiteral("受付NO"));
}

TEST(WithoutDataFile, SendFailsAndResetStillResetsTheFieldsWithOneMessage) {
    Workstation w;
    w.prepare(QStringLiteral("鈴木"), w.office.path("missing.mdb"), false);
    w.start();
    Form1& f = *w.form;
    ASSERT_FALSE(w.state.Db_Data);
    EXPECT_EQ(f.Txt_Time->text(), QStringLiteral("2002/12/25 12:25"));
    w.prompts.messages.clear();

    fill(f, "山田", "佐藤", "鈴木", "伝言");
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kFailed});
    EXPECT_EQ(f.Cmb_To->currentText(), "山田");

    w.prompts.messages.clear();
    QTest::mouseClick(f.Cmd_Clear, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages.size(), 1);
    EXPECT_EQ(f.Cmb_To->currentText(), QString());
    EXPECT_EQ(f.Cmb_From->currentText(), QString());
    EXPECT_EQ(f.Cmb_My->currentText(), "鈴木");
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("お電話をさしあげてください。"));
    EXPECT_NE(f.Txt_Time->text(), QStringLiteral("2002/12/25 12:25"));
    EXPECT_FALSE(QFileInfo::exists(w.office.path("missing.mdb")));
}

TEST_P(Send, AFailedRefreshAfterAStoredMessageIsNotReportedAsAFailedSend) {
    Workstation w(GetParam());
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    fill(f, "山田", "佐藤", "鈴木", "伝言");
    // The moment the success message shows, another workstation locks the data, so the
    // refresh that follows cannot read the pick lists.
    std::unique_ptr<DataLock> otherLock;
    w.prompts.whileInformOpen = [&](const QString& text) {
        if (text == kSent) {
            otherLock = w.office.lockData();
        }
    };
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    otherLock.reset();
    ASSERT_EQ(w.prompts.messages.size(), 2);
    EXPECT_EQ(w.prompts.messages[0], kSent);
    EXPECT_NE(w.prompts.messages[1], kFailed);
    EXPECT_EQ(w.office.rowCount(), 1);
    // The fields were reset all the same, so pressing send again cannot store it twice.
    EXPECT_EQ(f.Cmb_To->currentText(), QString());
}
