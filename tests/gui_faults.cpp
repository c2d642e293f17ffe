// The main window when the data file fails under it: a full disk, another workstation
// stopped while it holds the write lock, a read-only, locked, missing or restored file, and
// what the failure log keeps of each.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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
const QString kOpenFailed =
    QStringLiteral("データベースをオープンできません。データベースの場所を確認して下さい。");

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

// A workstation that writes its failure log into the office folder.
void logInOffice(Workstation& w) {
    w.state.logPath = w.office.path(QStringLiteral("state/dulvane.log"));
}

// The log's lines, each split into its fields: time, operation, location, code, text.
QList<QStringList> logged(const Workstation& w) {
    QList<QStringList> out;
    for (const QString& line : readLines(w.state.logPath)) {
        out << line.split(u'\t');
    }
    return out;
}

void expectLastLogged(const Workstation& w, const QString& operation, int primaryCode,
                      const QString& words) {
    const QList<QStringList> lines = logged(w);
    ASSERT_FALSE(lines.isEmpty());
    const QStringList& f = lines.last();
    ASSERT_EQ(f.size(), 5) << f.join(u'|').toStdString();
    EXPECT_TRUE(QDateTime::fromString(f[0], Qt::ISODate).isValid()) << f[0].toStdString();
    EXPECT_EQ(f.mid(1, 2), QStringList({operation, w.office.dataPath()}));
    EXPECT_EQ(f[3].toInt() & 0xff, primaryCode) << f[3].toStdString();
    EXPECT_TRUE(f[4].contains(words)) << f[4].toStdString();
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
        sqlite3_exec(asFile(*w.state.Db_Data).handle(), "PRAGMA max_page_count = 1", nullptr,
                     nullptr, nullptr);
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
        sqlite3_exec(asFile(*w.state.Db_Data).handle(), "PRAGMA max_page_count = 1073741823",
                     nullptr, nullptr, nullptr);
    }
    w.prompts.messages.clear();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    auto db = store::Workspace{}.openDatabase(data, store::memo::tableName(),
                                              store::memo::requiredColumns());
    EXPECT_EQ(store::memo::receivedList(*db, to).size(), 1);
    EXPECT_EQ(store::memo::receivedList(*db, "山").size(), 2);
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

// ---------------------------------------------------------------------------------------------
// Each fault shows the window's own message and leaves a line in the failure log that tells it
// apart from the others.

TEST(FailureLog, AReadOnlyDataFileFailsTheSendWithItsMessageAndIsLoggedAsReadOnly) {
    Workstation w;
    logInOffice(w);
    w.office.makeDataFile();
    std::unique_ptr<FileAttribute> frozen;
    if (runningAsRoot()) {
        // Root writes whatever the permissions say, but cannot open an immutable file to write.
        frozen = std::make_unique<FileAttribute>(w.office.dataPath(), Attribute::Immutable);
        if (!frozen->set()) {
            GTEST_SKIP() << frozen->why().toStdString();
        }
    } else {
        QFile::setPermissions(w.office.dataPath(), QFile::ReadOwner);
    }
    w.startAs(QStringLiteral("鈴木"));
    fill(*w.form, "山田", "佐藤", "伝言", "");
    QTest::mouseClick(w.form->Command2, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSendFailed});
    expectLastLogged(w, QStringLiteral("send"), SQLITE_READONLY, QStringLiteral("読み取り専用"));
}

TEST(FailureLog, ALockHeldByAnotherProcessFailsTheListWithItsMessageAndIsLoggedAsALock) {
    Workstation w;
    logInOffice(w);
    w.startAs(QStringLiteral("鈴木"));  // waits 500 ms for locks
    QProcess holder;
    holder.start(QStringLiteral(DB_PEER_PATH),
                 {QStringLiteral("hold-exclusive"), w.office.dataPath()});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kListFailed});
    expectLastLogged(w, QStringLiteral("received list"), SQLITE_BUSY,
                     QStringLiteral("database is locked（ほかの端末のロックが 500 ms"));
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages.last(), QStringLiteral("受信データはありません。"));
    EXPECT_EQ(logged(w).size(), 1);
}

TEST(FailureLog, AMissingDataFileFailsTheStartUpWithItsMessageAndIsLoggedAsMissing) {
    Workstation w;
    logInOffice(w);
    w.prepare(QStringLiteral("鈴木"), w.office.dataPath(), false);
    w.start();
    EXPECT_EQ(w.prompts.messages, QStringList{kOpenFailed});
    expectLastLogged(w, QStringLiteral("start-up open"), SQLITE_CANTOPEN,
                     QStringLiteral("見つかりません"));
    EXPECT_FALSE(QFileInfo::exists(w.office.dataPath()));
}

// ---------------------------------------------------------------------------------------------
// The data file removed and put back while the window runs

TEST(FileRestored, TheRunningWindowWorksAgainAtTheNextActionOnceTheFileIsPutBack) {
    Workstation w;
    logInOffice(w);
    w.office.makeDataFile();
    w.office.addMessage(QStringLiteral("鈴木"), QStringLiteral("佐藤"), QStringLiteral("山田"));
    w.startAs(QStringLiteral("鈴木"));
    Form1& f = *w.form;
    const QString data = w.office.dataPath();
    const QString backup = w.office.path(QStringLiteral("backup.mdb"));
    ASSERT_TRUE(QFile::copy(data, backup));
    ASSERT_TRUE(QFile::remove(data));
    // While it is missing each action fails with its own message, and no file appears.
    fill(f, "鈴木", "田中", "戻し後", "");
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    w.tick();
    w.tick();
    EXPECT_EQ(w.prompts.messages, QStringList({kSendFailed, kListFailed}));
    EXPECT_FALSE(QFileInfo::exists(data));
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("-journal")));
    EXPECT_EQ(f.TxT_Memo->text(), QStringLiteral("戻し後"));

    // Put back from the backup (a new file at the same path): the next actions work.
    ASSERT_TRUE(QFile::copy(backup, data));
    w.prompts.messages.clear();
    QTest::mouseClick(f.Command2, Qt::LeftButton);
    QTest::mouseClick(f.Command1, Qt::LeftButton);
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    EXPECT_EQ(f.SS1->text(GridColumn::Memo, 1), QStringLiteral("戻し後"));
    EXPECT_EQ(f.SS1->text(GridColumn::Number, 2), QStringLiteral("1"));
    w.tick();
    EXPECT_EQ(w.prompts.messages, QStringList{kSent});
    EXPECT_EQ(w.office.rowCount(), 2);

    // The watch's run of failed ticks is one line, and its recovery another.
    QStringList operations;
    for (const QStringList& line : logged(w)) {
        operations << line.value(1) + QStringLiteral(":") + line.value(3);
    }
    EXPECT_EQ(operations, QStringList({"send:14", "received list:14", "watch:14", "watch:-"}));
}
