#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <stdexcept>

#include "store/error.h"
#include "store/file/file_database.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "support/files.h"

using testing_support::Office;

namespace {

store::Workspace quickWorkspace() {
    return store::Workspace{std::chrono::milliseconds(300)};
}

std::unique_ptr<store::file::FileDatabase> openMemo(const QString& path) {
    return quickWorkspace().openFile(path, store::memo::tableName(),
                                     store::memo::requiredColumns());
}

int failureCode(const QString& path) {
    try {
        openMemo(path);
    } catch (const store::Error& e) {
        return e.primaryCode();
    }
    return SQLITE_OK;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST(OpenDatabase, RefusesWhatIsNotAMessageFileWithoutCreatingOrChangingIt) {
    Office office;
    // Missing: an error, and no file appears.
    EXPECT_EQ(failureCode(office.path("missing.mdb")), SQLITE_CANTOPEN);
    EXPECT_FALSE(QFile::exists(office.path("missing.mdb")));
    // Empty path and a folder.
    EXPECT_EQ(failureCode(QString()), SQLITE_CANTOPEN);
    EXPECT_EQ(failureCode(office.path("")), SQLITE_CANTOPEN);
    // Not a database: the bytes stay as they were.
    const QByteArray text = "This is a text file, not a database.\n";
    writeFile(office.path("text.mdb"), text);
    EXPECT_EQ(failureCode(office.path("text.mdb")), SQLITE_NOTADB);
    QFile f(office.path("text.mdb"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), text);
    // Zero length: refused, and still zero length.
    writeFile(office.path("empty.mdb"), {});
    EXPECT_NE(failureCode(office.path("empty.mdb")), SQLITE_OK);
    EXPECT_EQ(QFileInfo(office.path("empty.mdb")).size(), 0);
    // A settings file is a database, but has no MEMO_T.
    office.makeSettings(QStringLiteral("山田"), office.dataPath());
    EXPECT_EQ(failureCode(office.iniPath()), SQLITE_ERROR);
}

TEST(OpenDatabase, RefusesAMessageTableWithoutTheExpectedColumns) {
    Office office;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(office.dataPath().toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "CREATE TABLE MEMO_T (ＮＯ INTEGER PRIMARY KEY, 宛名 TEXT)", nullptr, nullptr,
                 nullptr);
    sqlite3_close(raw);
    EXPECT_EQ(failureCode(office.dataPath()), SQLITE_ERROR);
}

TEST(OpenDatabase, SwitchesAFileFoundInWalModeBackToTheRollbackJournal) {
    Office office;
    office.makeDataFile();
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(office.dataPath().toUtf8().constData(), &raw), SQLITE_OK);
        sqlite3_exec(raw, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
    auto db = openMemo(office.dataPath());
    store::file::Recordset rs = db->openRecordset(QStringLiteral("PRAGMA journal_mode"));
    rs.MoveFirst();
    EXPECT_EQ(rs.field(0).value(), QStringLiteral("delete"));
}

TEST(OpenDatabase, FailsWhileAnotherProcessHoldsTheFileExclusively) {
    Office office;
    office.makeDataFile();
    QProcess holder;
    holder.start(QStringLiteral(DB_PEER_PATH),
                 {QStringLiteral("hold-exclusive"), office.dataPath()});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));

    EXPECT_EQ(failureCode(office.dataPath()), SQLITE_BUSY);
    // The error says that the wait ran out, beside the engine's words.
    try {
        openMemo(office.dataPath());
        ADD_FAILURE() << "opened while another process held the file";
    } catch (const store::Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("300 ms"))) << e.report().toStdString();
    }

    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(failureCode(office.dataPath()), SQLITE_OK);
}

TEST(Recordset, CountsRowsReadsFieldsByNameAndTellsNulls) {
    Office office;
    office.makeDataFile();
    auto db = openMemo(office.dataPath());
    store::file::Recordset none = db->openRecordset(QStringLiteral("Select * From MEMO_T"));
    EXPECT_EQ(none.RecordCount(), 0);
    none.MoveFirst();
    EXPECT_TRUE(none.Eof());

    office.addMessage(QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"),
                      QStringLiteral("メモ"), std::nullopt);
    office.addMessage(QStringLiteral("山田"), QStringLiteral(""), QStringLiteral("鈴木"),
                      QStringLiteral("メモ"), QStringLiteral("2026/12/01"));
    store::file::Recordset rs =
        db->openRecordset(QStringLiteral("Select * From MEMO_T Order By ＮＯ"));
    ASSERT_EQ(rs.RecordCount(), 2);
    rs.MoveFirst();
    EXPECT_TRUE(rs.Fields(QStringLiteral("既読")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("相手")).value(), QStringLiteral("佐藤"));
    EXPECT_EQ(rs.Fields(QStringLiteral("ＮＯ")).value(), QStringLiteral("1"));
    rs.MoveNext();
    // An empty text is a text, not a null.
    EXPECT_FALSE(rs.Fields(QStringLiteral("相手")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("相手")).value(), QString());
    EXPECT_EQ(rs.Fields(QStringLiteral("既読")).value(), QStringLiteral("2026/12/01"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_THROW(rs.Fields(QStringLiteral("相手")), store::Error);
    EXPECT_EQ(db->openStatementCount(), 0);
}

TEST(Listing, DrainVisitsEveryRowInOrderAndLeavesItEmpty) {
    Office office;
    office.makeDataFile();
    for (const char* caller : {"一", "二", "三", "四"}) {
        office.addMessage(QStringLiteral("山田"), QString::fromUtf8(caller), QStringLiteral("鈴木"),
                          QStringLiteral("メモ"), std::nullopt);
    }
    auto db = openMemo(office.dataPath());
    const store::memo::Listing listed = store::memo::receivedList(*db, QStringLiteral("山田"));
    store::memo::Listing rs = listed;
    EXPECT_EQ(store::memo::highestNumber(rs), 4);
    QStringList seen;
    rs.drain([&](const store::memo::ListedRow& row) {
        seen << QString::number(row.no.value()) + row.caller;
    });
    EXPECT_EQ(seen, QStringList({"4四", "3三", "2二", "1一"}));
    EXPECT_EQ(rs.size(), 0);
    EXPECT_TRUE(rs.empty());
    EXPECT_EQ(store::memo::highestNumber(rs), 0);

    // A visit that fails keeps the row it failed on, and those after it.
    store::memo::Listing part = listed;
    int visits = 0;
    EXPECT_THROW(part.drain([&](const store::memo::ListedRow&) {
        if (++visits == 2) {
            throw std::runtime_error("full");
        }
    }),
                 std::runtime_error);
    ASSERT_EQ(part.size(), 3);
    EXPECT_EQ(part[0].caller, QStringLiteral("三"));
}

TEST(Execute, AnUpdateThatMatchesNoRowSucceedsAndErrorsCarryTheEngineCode) {
    Office office;
    office.makeDataFile();
    auto db = openMemo(office.dataPath());
    EXPECT_EQ(db->execute(QStringLiteral("Update MEMO_T set 既読 = ? Where ＮＯ = ?"),
                          {QStringLiteral("2026/12/07"), std::int64_t(42)}),
              0);
    try {
        db->execute(QStringLiteral("Update NO_SUCH_T set x = 1"));
        FAIL() << "an invalid statement must fail";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.primaryCode(), SQLITE_ERROR);
        EXPECT_TRUE(e.message().contains(QStringLiteral("NO_SUCH_T")));
        EXPECT_TRUE(e.report().contains(QString::number(e.code())));
    }
    // The failed statement left no transaction open: the next one works.
    office.addMessage("a", "b", "c");
    EXPECT_EQ(db->execute(QStringLiteral("Delete from MEMO_T Where ＮＯ = ?"), {std::int64_t(1)}),
              1);
    EXPECT_EQ(db->openStatementCount(), 0);
}

TEST(Execute, AReadOnlyFileOpensButRefusesWritesWithAClearError) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes to read-only files";
    }
    Office office;
    office.makeDataFile();
    QFile::setPermissions(office.dataPath(), QFile::ReadOwner);
    auto db = openMemo(office.dataPath());
    EXPECT_TRUE(db->isReadOnly());
    EXPECT_THROW(store::memo::remove(*db, 1), store::Error);
}

TEST(Execute, AFilePutInPlaceWhileAWriteAwaitsItsLockGetsTheWrite) {
    Office office;
    office.makeDataFile();
    auto db = openMemo(office.dataPath());
    const QString restored = office.path(QStringLiteral("restored.mdb"));
    const QString old = office.path(QStringLiteral("old.mdb"));
    store::schema::createDataFile(restored);
    // Once the write's path check has passed, as its BEGIN IMMEDIATE starts, the file is
    // replaced (a restore that held the lock the write waits for).
    struct Swap {
        QString data, restored, old;
        bool done = false;
    } swap{office.dataPath(), restored, old};
    sqlite3_trace_v2(
        db->handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* context, void*, void* sql) {
            auto* s = static_cast<Swap*>(context);
            if (!s->done && QByteArray(static_cast<const char*>(sql)) == "BEGIN IMMEDIATE") {
                s->done = QFile::rename(s->data, s->old) && QFile::rename(s->restored, s->data);
            }
            return 0;
        },
        &swap);
    store::memo::insert(*db, {"山田", "佐藤", "鈴木", "m", false, {}, "2026/12/07 10:00"});
    ASSERT_TRUE(swap.done);
    EXPECT_EQ(office.rowCount(), 1);
    EXPECT_EQ(openMemo(old)->openRecordset(QStringLiteral("Select * From MEMO_T")).RecordCount(),
              0);
}

TEST(Concurrency, AListingReadHereDoesNotBlockAWriterInAnotherProcess) {
    Office office;
    office.makeDataFile();
    for (int i = 0; i < 50; ++i) {
        office.addMessage(QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    }
    auto db = openMemo(office.dataPath());
    store::memo::Listing listed = store::memo::receivedList(*db, QStringLiteral("山田"));
    ASSERT_EQ(listed.size(), 50);
    // The listing is still held in memory here; the other process writes at once (it does
    // not wait for locks at all).
    const int exitCode = QProcess::execute(QStringLiteral(DB_PEER_PATH),
                                           {QStringLiteral("insert"), office.dataPath()});
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(office.rowCount(), 51);
    EXPECT_EQ(db->openStatementCount(), 0);
}

TEST(Schema, NumbersAreNeverReusedAfterADelete) {
    Office office;
    office.makeDataFile();
    auto db = openMemo(office.dataPath());
    const qint64 first = office.addMessage("a", "b", "c");
    const qint64 second = office.addMessage("a", "b", "c");
    store::memo::remove(*db, second);
    const qint64 third = office.addMessage("a", "b", "c");
    EXPECT_GT(second, first);
    EXPECT_GT(third, second);
}

TEST(Schema, CreateRefusesToOverwriteAndCheckFindsProblems) {
    Office office;
    office.makeDataFile();
    office.addMessage("a", "b", "c");
    EXPECT_THROW(store::schema::createDataFile(office.dataPath()), store::Error);
    EXPECT_EQ(office.rowCount(), 1);  // the existing file is untouched
    EXPECT_TRUE(store::schema::checkFile(office.dataPath()).isEmpty());

    writeFile(office.path("junk.mdb"), QByteArray(4096, 'x'));
    EXPECT_FALSE(store::schema::checkFile(office.path("junk.mdb")).isEmpty());
    EXPECT_FALSE(store::schema::checkFile(office.path("missing.mdb")).isEmpty());
    EXPECT_FALSE(QFile::exists(office.path("missing.mdb")));
}

TEST(Schema, TheUnreadPollUsesTheIndexInsteadOfReadingEveryMessage) {
    Office office;
    office.makeDataFile();
    auto db = openMemo(office.dataPath());
    store::file::Recordset plan = db->openRecordset(
        QStringLiteral(
            "EXPLAIN QUERY PLAN Select * From MEMO_T Where 宛名 Like ? And 既読 is Null"),
        {QStringLiteral("a*")});
    QString details;
    for (plan.MoveFirst(); !plan.Eof(); plan.MoveNext()) {
        details += plan.Fields(QStringLiteral("detail")).value();
    }
    EXPECT_TRUE(details.contains(QStringLiteral("MEMO_T_既読"))) << details.toStdString();
}
