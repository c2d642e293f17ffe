// A workstation that dies or freezes in the middle of its work.
//   DULVANE_KILLS  how many times at least the sending workstation is killed (default 20)
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QThread>
#include <iostream>
#include <random>

#include "store/location.h"
#include "store/memo_table.h"
#include "support/faults.h"
#include "support/files.h"
#include "support/processes.h"

using namespace testing_support;

namespace {

// The tokens of one driver run that are in the file.
QStringList tokensOfRun(const QMultiMap<QString, qint64>& rows, const QString& run) {
    QStringList out;
    for (auto it = rows.begin(); it != rows.end(); ++it) {
        if (it.key().startsWith(run + u'-')) {
            out << it.key();
        }
    }
    return out;
}

class WriterKilled : public OnEachEngine {};
DULVANE_ON_EACH_ENGINE(WriterKilled);

}  // namespace

TEST_P(WriterKilled, EveryAcknowledgedSendSurvivesOnceAndAHalfDoneSendLeavesNothing) {
    Office office(GetParam());
    office.makeDataFile();
    const QString data = office.dataPath();
    // A data file keeps a killed writer's half-done transaction in its journal for the next
    // open to roll back; a server rolls it back itself when the connection drops.
    const bool journalled = !store::isServerLocation(data);
    const int minKills = envCount("DULVANE_KILLS", 20);
    std::mt19937 random(20261207);
    int kills = 0;
    int hotJournals = 0;
    int staleJournals = 0;
    int unacknowledgedKept = 0;
    qint64 acknowledgedTotal = 0;
    // At least minKills kills, and on a file more (up to three times as many) until at least
    // three of them left a transaction half done.
    for (; kills < minKills || (journalled && hotJournals < 3 && kills < 3 * minKills); ++kills) {
        SCOPED_TRACE("kill " + std::to_string(kills));
        const QString acked = office.path(QStringLiteral("acked-%1.txt").arg(kills));
        Driver sender({"--file", data, "--name", "送信者", "--to", "受信者", "--mix", "send=1",
                       "--seconds", "60", "--seed", QString::number(kills), "--acked", acked});
        ASSERT_TRUE(sender.waitReady()) << sender.finish().text();
        QThread::usleep(std::uniform_int_distribution<unsigned long>(0, 150000)(random));
        posix::kill(sender.pid());
        const DriverReport r = sender.finish();
        ASSERT_FALSE(r.exitedNormally) << r.text();
        ASSERT_FALSE(r.run.isEmpty()) << r.text();

        const JournalState journal = journalState(data);
        hotJournals += journal == JournalState::Hot;
        staleJournals += journal == JournalState::Stale;
        // The next workstation to open the data, as at start-up: it finds any half-done
        // transaction rolled back and reads the name lists.
        {
            auto db = office.openData(5000);
            store::memo::pickLists(*db);
            EXPECT_NE(journalState(data), JournalState::Hot);
            if (journal == JournalState::Hot) {
                EXPECT_EQ(journalState(data), JournalState::None);
            }
        }
        EXPECT_EQ(quickCheck(data), QStringLiteral("ok"));

        const QMultiMap<QString, qint64> rows = tokenRows(data);
        const QStringList acks = readLines(acked);
        acknowledgedTotal += acks.size();
        for (const QString& token : acks) {
            EXPECT_EQ(rows.count(token), 1) << token.toStdString();
        }
        // At most the one send in flight when the process died is stored without its
        // acknowledgement.
        const QStringList stored = tokensOfRun(rows, r.run);
        EXPECT_LE(stored.size(), acks.size() + 1);
        for (const QString& token : stored) {
            EXPECT_EQ(rows.count(token), 1) << token.toStdString();
        }
        unacknowledgedKept += int(stored.size() - acks.size());
    }
    if (journalled) {
        EXPECT_GE(hotJournals, 1) << "no kill landed inside a write in " << kills << " kills";
    }
    std::cout << "[ figures  ] kills (" << engineName(GetParam()) << "): " << kills << " kills, "
              << hotJournals << " left a hot journal (rolled back by the next open), "
              << staleJournals << " a journal not yet valid (ignored), " << acknowledgedTotal
              << " acknowledged sends all present, " << unacknowledgedKept
              << " unacknowledged sends kept (at most one per kill)" << std::endl;
}

TEST(WriterStopped, OthersFailWithABusyErrorWhileItHoldsTheLockAndAllWorksAfterItGoesOn) {
    Office office;
    office.makeDataFile();
    const QString data = office.dataPath();
    for (int i = 0; i < 5; ++i) {
        office.addMessage(QStringLiteral("受信者"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    }
    const QString ackedA = office.path(QStringLiteral("acked-a.txt"));
    Driver a({"--file", data, "--name", "送信者", "--to", "受信者", "--mix", "send=1", "--seconds",
              "60", "--think-ms", "5", "--acked", ackedA});
    // Two more workstations already running, waiting 250 ms for locks: one sends, one lists
    // and polls.
    const QString ackedB = office.path(QStringLiteral("acked-b.txt"));
    Driver sender({"--file", data, "--name", "受信者", "--to", "送信者", "--mix", "send=1",
                   "--seconds", "3", "--think-ms", "10", "--busy-ms", "250", "--acked", ackedB});
    Driver lister({"--file", data, "--name", "受信者", "--mix", "received=1,sent=1,poll=2",
                   "--seconds", "3", "--think-ms", "10", "--busy-ms", "250"});
    ASSERT_TRUE(a.waitReady()) << a.finish().text();
    ASSERT_TRUE(sender.waitReady()) << sender.finish().text();
    ASSERT_TRUE(lister.waitReady()) << lister.finish().text();

    // Stop the first at random moments until a stop lands while it holds the write lock, and
    // keep it stopped well past the others' wait.
    const int stops = stopWhileWriting(a);
    ASSERT_GT(stops, 0) << "no stop landed inside a write";
    QThread::msleep(2000);
    posix::resume(a.pid());

    const DriverReport sent = sender.finish();
    const DriverReport listed = lister.finish();
    for (const DriverReport* r : {&sent, &listed}) {
        ASSERT_TRUE(r->exitedNormally) << r->text();
        // Each failure was the lock, as the engine reports it, and the wait that ran out.
        for (const FailureLine& f : r->failures) {
            EXPECT_EQ(f.code & 0xff, SQLITE_BUSY) << r->text();
            EXPECT_TRUE(f.text.startsWith(QStringLiteral("database is locked"))) << r->text();
            EXPECT_TRUE(f.text.contains(QStringLiteral("250 ms"))) << r->text();
        }
    }
    // Every send tried during the stop failed; those before and after it were stored.
    EXPECT_EQ(sent.exitCode, 1) << sent.text();
    const qint64 sendFailures = sent.failureCount("send", "insert");
    EXPECT_GE(sendFailures, 4) << sent.text();
    EXPECT_EQ(qint64(readLines(ackedB).size()), sent.ops.value("send").count - sendFailures);

    // A workstation started after the resume meets no failure at all.
    const QString ackedC = office.path(QStringLiteral("acked-c.txt"));
    const DriverReport after =
        runDriver({"--file", data, "--name", "受信者", "--to", "送信者", "--mix",
                   "send=2,received=1,sent=1,poll=1", "--count", "20", "--acked", ackedC});
    EXPECT_EQ(after.exitCode, 0) << after.text();
    EXPECT_EQ(after.failureCount(), 0) << after.text();

    a.terminate();
    const DriverReport first = a.finish();
    // The stopped workstation itself never noticed.
    EXPECT_EQ(first.exitCode, 0) << first.text();

    const QMultiMap<QString, qint64> rows = tokenRows(data);
    for (const QString& file : {ackedA, ackedB, ackedC}) {
        const QStringList acks = readLines(file);
        EXPECT_FALSE(acks.isEmpty()) << file.toStdString();
        for (const QString& token : acks) {
            EXPECT_EQ(rows.count(token), 1) << token.toStdString();
        }
    }
    EXPECT_EQ(qint64(tokensOfRun(rows, first.run).size()), first.ops.value("send").count);
    EXPECT_EQ(qint64(tokensOfRun(rows, sent.run).size()), readLines(ackedB).size());
    EXPECT_EQ(quickCheck(data), QStringLiteral("ok"));
    std::cout << "[ figures  ] stop: " << stops
              << " stop(s) until one held the write lock, held 2 s; the sending workstation's "
              << sendFailures << " sends in that time failed with \"database is locked\" after "
              << sent.ops.value("send").maxMs << " ms at most, the listing one had "
              << listed.failureCount() << " failed reads; after the resume 0 failures" << std::endl;
}
