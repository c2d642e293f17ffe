// No read lingers on the shared data: every statement ends inside the call that ran it, so
// a listing held in memory never keeps another workstation from writing.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QSet>
#include <algorithm>
#include <functional>

#include "store/error.h"
#include "store/memo_table.h"
#include "store/settings_table.h"
#include "support/faults.h"
#include "support/files.h"
#include "support/processes.h"

using namespace testing_support;

namespace {

struct Step {
    const char* name;
    std::function<void()> run;
};

class LingeringReader : public OnEachEngine {};
DULVANE_ON_EACH_ENGINE(LingeringReader);
class LingeringReaderOnAFile : public LingeringReader {};
DULVANE_ON_FILE_ONLY(LingeringReaderOnAFile);

}  // namespace

// The store itself asserts the same after every successful statement in debug builds (the
// sanitizer run is one); this checks release builds and the paths that fail.
TEST_P(LingeringReaderOnAFile, NoStatementOutlivesAnOperationWhetherItSucceedsOrFails) {
    Office office;
    office.makeDataFile();
    office.makeSettings(QStringLiteral("受信者"), office.dataPath());
    for (int i = 0; i < 5; ++i) {
        office.addMessage(QStringLiteral("受信者"), QStringLiteral("佐藤"),
                          QStringLiteral("受信者"));
    }
    auto db = office.openFile(200);
    store::Workspace ws{std::chrono::milliseconds(200)};
    auto ini = ws.openFile(office.iniPath(), store::settings::tableName(),
                           store::settings::requiredColumns());
    store::memo::Listing held;
    const std::vector<Step> steps = {
        {"pick lists", [&] { store::memo::pickLists(*db); }},
        {"received list", [&] { held = store::memo::receivedList(*db, "受信者"); }},
        {"mark read",
         [&] {
             store::memo::Listing listed = store::memo::receivedList(*db, "受信者");
             store::memo::markRead(*db, "受信者", "2026/12/07", store::memo::highestNumber(listed));
         }},
        {"sent list", [&] { held = store::memo::sentList(*db, "受信者"); }},
        {"send",
         [&] {
             store::memo::insert(*db, {"受信者", "a", "受信者", "m", false, "", "t"});
         }},
        {"delete", [&] { store::memo::remove(*db, 2); }},
        {"poll", [&] { store::memo::hasUnread(*db, "受信者"); }},
    };
    for (const Step& s : steps) {
        EXPECT_NO_THROW(s.run()) << s.name;
        EXPECT_EQ(db->openStatementCount(), 0) << s.name;
    }
    EXPECT_NO_THROW(store::settings::read(*ini));
    EXPECT_NO_THROW(store::settings::save(*ini, "受信者", office.dataPath()));
    EXPECT_EQ(ini->openStatementCount(), 0);

    // The same operations failing: another workstation holds the file exclusively.
    auto other = office.openFile();
    ASSERT_EQ(sqlite3_exec(other->handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const Step& s : steps) {
        EXPECT_THROW(s.run(), store::Error) << s.name;
        EXPECT_EQ(db->openStatementCount(), 0) << s.name;
    }
    sqlite3_exec(other->handle(), "ROLLBACK", nullptr, nullptr, nullptr);

    // A statement that fails after it has returned rows.
    EXPECT_THROW(db->openRecordset(QStringLiteral(
                     "Select ＮＯ, Case When ＮＯ > 3 Then like('[', メモ) Else 1 End "
                     "From MEMO_T Order By ＮＯ")),
                 store::Error);
    EXPECT_EQ(db->openStatementCount(), 0);
    // A write whose statement fails: no transaction is left open either.
    EXPECT_THROW(db->execute(QStringLiteral("Update MEMO_T Set 既読 = like('[', メモ)")),
                 store::Error);
    EXPECT_EQ(db->openStatementCount(), 0);
    EXPECT_NE(sqlite3_get_autocommit(db->handle()), 0);
}

TEST_P(LingeringReader, AnotherWorkstationWritesWithoutWaitingWhileListingsAreHeldInMemory) {
    Office office(GetParam());
    office.makeDataFile();
    for (int i = 0; i < 30; ++i) {
        office.addMessage(QStringLiteral("受信者"), QStringLiteral("佐藤"),
                          QStringLiteral("受信者"));
    }
    auto db = office.openData();
    // Everything the window keeps after its operations.
    store::memo::Listing received = store::memo::receivedList(*db, "受信者");
    store::memo::Listing sent = store::memo::sentList(*db, "受信者");
    const store::memo::PickLists names = store::memo::pickLists(*db);
    ASSERT_TRUE(store::memo::hasUnread(*db, "受信者"));
    ASSERT_EQ(received.size(), 30);

    // The other workstation waits only briefly for locks: any lock left behind here, which
    // would be held for the rest of the test, makes it fail.
    const QString acked = office.path(QStringLiteral("acked.txt"));
    const QString deleted = office.path(QStringLiteral("deleted.txt"));
    const QString times = office.path(QStringLiteral("times.txt"));
    const DriverReport r =
        runDriver({"--file", office.dataPath(), "--name", "受信者", "--mix",
                   "send=3,sent=1,delete=1", "--count", "24", "--busy-ms", "2000", "--seed", "11",
                   "--acked", acked, "--deleted", deleted, "--times", times});
    EXPECT_EQ(r.exitCode, 0) << r.text();
    EXPECT_EQ(r.failureCount(), 0) << r.text();
    EXPECT_EQ(db->openStatementCount(), 0);

    // The times file holds every operation the summary counts, and its slowest.
    QMap<QString, qint64> timed;
    QMap<QString, double> slowest;
    for (const QString& line : readLines(times)) {
        const QString op = line.section(u' ', 0, 0);
        ++timed[op];
        slowest[op] = std::max(slowest.value(op), line.section(u' ', 1, 1).toDouble());
    }
    for (const QString op : {"send", "sent", "delete"}) {
        EXPECT_EQ(timed.value(op), r.ops.value(op).count) << op.toStdString();
        EXPECT_NEAR(slowest.value(op), r.ops.value(op).maxMs, 0.001) << op.toStdString();
    }

    // Marking the held listing read marks only what it showed and is still there: the other
    // workstation's new messages stay unread.
    const QStringList deletedLines = readLines(deleted);
    QSet<qint64> deletedNumbers;
    for (const QString& line : deletedLines) {
        deletedNumbers.insert(line.section(u'\t', 0, 0).toLongLong());
    }
    qint64 deletedListed = 0;
    for (qint64 no : deletedNumbers) {
        deletedListed += no <= 30;
    }
    EXPECT_EQ(
        store::memo::markRead(*db, "受信者", "2026/12/07", store::memo::highestNumber(received)),
        30 - deletedListed);
    const store::memo::Listing after = store::memo::receivedList(*db, "受信者");
    for (const store::memo::ListedRow& row : after) {
        const bool listedBefore = row.no.value() <= 30;
        EXPECT_EQ(row.readOn.isNull(), !listedBefore) << row.no.value();
    }
    const QMultiMap<QString, qint64> rows = tokenRows(office.dataPath());
    const QStringList acks = readLines(acked);
    EXPECT_EQ(acks.size(), r.ops.value("send").count);
    for (const QString& token : acks) {
        const bool gone = std::any_of(deletedLines.begin(), deletedLines.end(),
                                      [&](const QString& l) { return l.contains(token + u' '); });
        EXPECT_EQ(rows.count(token), gone ? 0 : 1) << token.toStdString();
    }
}
