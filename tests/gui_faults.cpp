// The main window when the data file fails under it: a full disk, another workstation
// stopped while it holds the write lock.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include "store/error.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "support/faults.h"
#include "support/main_window.h"
#include "support/processes.h"

using namespace testing_support;

namespace {

const QString kSent = QStringLiteral("メッセージを送信しました。");
const QString kSendFailed = QStringLiteral("データベース登録に失敗しました。");
const QString kListFailed = QStringLiteral("データベース検索に失敗しました。");
const QString kDeleteFailed = QStringLiteral("データベース削除に失敗しました。");

void fill(Form1& f, const QString& to, const QString& from, const QString& memo,
          const QString& phone) {
    f.Cmb_To->setEditText(to);
    f.Cmb_From->setEditText(from);
    f.TxT_Memo->setText(memo);
    f.Txt_Tel->setText(phone);
}

// Fills the rest of a small disk.
void fillUp(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        return;
    }
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size() && f.flush()) {
    }
}

}  // namespace

TEST(WindowOnAFullDisk, TheSendSaysItFailedKeepsTheTypedFieldsAndWorksOnceThereIsRoom) {
    SmallDisk disk(512 * 1024);
    Workstation w;
    QString data = w.office.dataPath();
    if (disk.mounted()) {
        data = disk.path(QStringLiteral("dulvane.mdb"));
        store::schema::createDataFile(data);
    }
    w.prepare(QStringLiteral("鈴木"), data, !disk.mounted());
    w.start();
    ASSERT_TRUE(w.state.Db_Data);
    Form1& f = *w.form;
    fill(f, "山田", "佐藤", "一通目", "1");
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    ASSERT_EQ(w.prompts.messages, QStringList{kSent});
    const QByteArray before = fileBytes(data);

    if (disk.mounted()) {
        fillUp(disk.path(QStringLiteral("filler")));
    } else {
        // No file system of our own here: the connection may not grow the file instead.
        sqlite3_exec(w.state.Db_Data->handle(), "PRAGMA max_page_count = 1", nullptr, nullptr,
                     nullptr);
    }
    // Long texts need new pages of the file.
    const QString to = QString(3000, u'山');
    const QString memo = QString(100, u'伝');
    fill(f, to, "佐藤", memo, QString(50, u'9'));
    w.prompts.messages.clear();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSendFailed});
    EXPECT_EQ(f.Cmb_To->currentText(), to);
    EXPECT_EQ(f.Cmb_From->currentText(), "佐藤");
    EXPECT_EQ(f.Cmb_My->currentText(), "鈴木");
    EXPECT_EQ(f.TxT_Memo->text(), memo);
    EXPECT_EQ(f.Txt_Tel->text(), QString(50, u'9'));
    EXPECT_EQ(fileBytes(data), before);
    EXPECT_EQ(quickCheck(data), QStringLiteral("ok"));

    if (disk.mounted()) {
        QFile::remove(disk.path(QStringLiteral("filler")));
    } else {
        sqlite3_exec(w.state.Db_Data->handle(), "PRAGMA max_page_count = 1073741823", nullptr,
                     nullptr, nullptr);
    }
    w.prompts.messages.clear();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    auto db = store::Workspace{}.openDatabase(data, store::memo::tableName(),
                                              store::memo::requiredColumns());
    EXPECT_EQ(store::memo::receivedList(*db, to).RecordCount(), 1);
    EXPECT_EQ(store::memo::receivedList(*db, "山").RecordCount(), 2);
}

TEST(WindowWithAStoppedWorkstation, EachWriteSaysItFailedAndAllWorksAfterTheOtherGoesOn) {
    Workstation w;
    w.office.makeDataFile();
    for (int i = 0; i < 3; ++i) {
        w.office.addMessage(QStringLiteral("鈴木"), QStringLiteral("佐藤"), QStringLiteral("山田"));
    }
    w.startAs(QStringLiteral("鈴木"));  // waits 500 ms for locks
    Form1& f = *w.form;
    QTest::mouseClick(f.Command1, Qt::LeftButton);  // the listing, to delete from below
    ASSERT_EQ(f.SS1->number(1), 3);
    w.office.addMessage(QStringLiteral("鈴木"), QStringLiteral("田中"), QStringLiteral("山田"));

    Driver other({"--file", w.office.dataPath(), "--name", "山田", "--to", "田中", "--mix",
                  "send=1", "--seconds", "60", "--think-ms", "20"});
    ASSERT_TRUE(other.waitReady()) << other.finish().text();
    ASSERT_GT(stopWhileWriting(other), 0);

    w.prompts.messages.clear();
    fill(f, "山田", "佐藤", "伝言", "123");
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSendFailed});
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("伝言"));

    // The new message cannot be marked read: the received list fails.
    w.prompts.messages.clear();
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kListFailed});

    w.prompts.messages.clear();
    w.prompts.answers = {true};
    const std::optional<std::int64_t> number = f.SS1->number(1);
    f.SS1_Click(1, 1);
    EXPECT_EQ(w.prompts.messages, QStringList{kDeleteFailed});
    EXPECT_EQ(f.SS1->number(1), number);

    posix::resume(other.pid());
    // Neither the failed send nor the failed delete changed the file.
    const QStringList rows = w.office.rows();
    EXPECT_FALSE(rows.join(u'\n').contains(QStringLiteral("伝言")));
    EXPECT_EQ(
        rows.filter(QRegularExpression(QStringLiteral("^%1\\|").arg(number.value_or(-1)))).size(),
        1);

    w.prompts.messages.clear();
    w.prompts.answers = {true};
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    f.SS1_Click(1, 1);
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    other.terminate();
    const DriverReport r = other.finish();
    EXPECT_EQ(r.exitCode, 0) << r.text();
}
