// The database server's faults met by real workstations: the server killed in the middle of a
// storm of sends, the whole server stopped past every timeout, a restart between two
// operations. Every test runs a server of its own.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMultiMap>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "store/database.h"
#include "store/error.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "support/engines.h"
#include "support/faults.h"
#include "support/processes.h"
#include "support/server_cluster.h"

using namespace testing_support;

namespace {

constexpr std::chrono::milliseconds kBusy{2000};
// The busy timeout and a generous margin: no operation may wait longer for a silent server.
constexpr qint64 kBoundMs = kBusy.count() + 3000;
const QString kTo = QStringLiteral("受信者");
// The addressee of the test's own messages, apart from the workstations' sends.
const QString kOwn = QStringLiteral("山田");

// A server of the test's own with an empty message table, and sending workstations on it.
class ServerFaults : public testing::Test {
protected:
    void SetUp() override {
        if (serverMissing()) {
            GTEST_SKIP() << *serverMissing();
        }
        cluster_.emplace();
        ASSERT_TRUE(cluster_->failure().isEmpty()) << cluster_->failure().toStdString();
        store::schema::createDataFile(cluster_->uri());
    }

    std::unique_ptr<store::Database> open() const {
        return store::Workspace{kBusy}.openDatabase(cluster_->uri(), store::memo::tableName(),
                                                    store::memo::requiredColumns());
    }

    // A workstation named name that sends to kTo and does mix, for as long as the test runs.
    void startDriver(const QString& name, const QString& mix) {
        acked_ << files_.filePath(QStringLiteral("acked-%1.txt").arg(drivers_.size()));
        drivers_.push_back(std::make_unique<Driver>(
            QStringList{"--file", cluster_->uri(), "--name", name, "--to", kTo, "--mix", mix,
                        "--seconds", "300", "--think-ms", "5", "--busy-ms",
                        QString::number(kBusy.count()), "--acked", acked_.back()}));
        ASSERT_TRUE(drivers_.back()->waitReady()) << drivers_.back()->finish().text();
    }

    // Waits until every workstation has acknowledged more sends from now on (at most 30 s,
    // looking every 20 ms); returns the time that took, or -1.
    qint64 msUntilEachSends(qint64 more = 3) const {
        QList<qint64> wanted;
        for (const QString& file : acked_) {
            wanted << readLines(file).size() + more;
        }
        QElapsedTimer timer;
        timer.start();
        for (qsizetype i = 0; i < acked_.size();) {
            if (readLines(acked_[i]).size() >= wanted[i]) {
                ++i;
            } else if (timer.elapsed() > 30000) {
                return -1;
            } else {
                QThread::msleep(20);
            }
        }
        return timer.elapsed();
    }

    // Ends the workstations; each saw the fault as failures of the unreachable kind only.
    std::vector<DriverReport> finishDrivers() {
        std::vector<DriverReport> reports;
        for (auto& d : drivers_) {
            d->terminate();
            reports.push_back(d->finish());
            const DriverReport& r = reports.back();
            EXPECT_TRUE(r.exitedNormally) << r.text();
            EXPECT_EQ(r.exitCode, 1) << r.text();
            EXPECT_GT(r.failureCount(), 0) << r.text();
            for (const FailureLine& f : r.failures) {
                EXPECT_TRUE(f.kind == store::kindName(store::Error::Kind::ConnectionLost) ||
                            f.kind == store::kindName(store::Error::Kind::TimedOut))
                    << r.text();
            }
        }
        return reports;
    }

    // Every acknowledged send is stored exactly once; returns the acknowledged count and
    // adds the rows stored without an acknowledgement (their answer was lost) to unacked.
    qint64 checkAcknowledged(qint64& unacked) {
        std::unique_ptr<store::Database> db = open();
        const store::memo::Listing rs = store::memo::receivedList(*db, kTo);
        QMultiMap<QString, qint64> rows;
        for (const store::memo::ListedRow& row : rs) {
            rows.insert(row.memo.section(u' ', 0, 0), row.no.value());
        }
        QSet<QString> acknowledged;
        for (const QString& file : acked_) {
            for (const QString& token : readLines(file)) {
                acknowledged.insert(token);
                EXPECT_EQ(rows.count(token), 1) << "acknowledged send " << token.toStdString();
            }
        }
        for (const QString& token : rows.uniqueKeys()) {
            EXPECT_EQ(rows.count(token), 1) << "stored twice: " << token.toStdString();
            unacked += acknowledged.contains(token) ? 0 : 1;
        }
        return acknowledged.size();
    }

    std::optional<ServerCluster> cluster_;
    QTemporaryDir files_;
    std::vector<std::unique_ptr<Driver>> drivers_;
    QStringList acked_;
};

}  // namespace

TEST_F(ServerFaults, AKilledServerLosesNoAcknowledgedSendAndTheWorkstationsReconnect) {
    for (int i = 0; i < 4; ++i) {
        startDriver(QStringLiteral("送信者%1").arg(i), QStringLiteral("send=3,poll=1"));
    }
    ASSERT_GE(msUntilEachSends(5), 0);

    QElapsedTimer outage;
    outage.start();
    cluster_->kill();
    // A workstation starting now fails to open, at once.
    EXPECT_THROW(open(), store::Error);
    ASSERT_TRUE(cluster_->startAgain()) << cluster_->failure().toStdString();
    const qint64 outageMs = outage.elapsed();

    // The same processes, never restarted, store again.
    const qint64 backMs = msUntilEachSends();
    EXPECT_GE(backMs, 0);
    const std::vector<DriverReport> reports = finishDrivers();
    qint64 failures = 0;
    for (const DriverReport& r : reports) {
        failures += r.failureCount();
    }
    EXPECT_GT(failures, 0);
    qint64 unacked = 0;
    const qint64 acknowledged = checkAcknowledged(unacked);
    std::cout << "[ figures  ] killed server: down " << outageMs << " ms until it ran again; "
              << failures << " failed operations in 4 workstations; each stored 3 more sends "
              << backMs << " ms after the restart; " << acknowledged
              << " acknowledged sends, each stored once; " << unacked
              << " stored without acknowledgement" << std::endl;
}

TEST_F(ServerFaults, AStoppedServerFailsEachOperationWithinTheBoundAndTheWorkstationsGoOn) {
    std::unique_ptr<store::Database> db = open();
    store::memo::insert(*db, {kOwn, "相手", "受人", "メモ", false, {}, "t"});
    startDriver(kTo, QStringLiteral("send=2,received=1,poll=2"));
    startDriver(QStringLiteral("送信者"), QStringLiteral("send=2,received=1,poll=2"));
    ASSERT_GE(msUntilEachSends(), 0);

    cluster_->freeze();
    QElapsedTimer frozen;
    frozen.start();
    // The watch's check fails as a store failure, which the window's watch keeps silent.
    QElapsedTimer op;
    op.start();
    try {
        store::memo::hasUnread(*db, kOwn);
        ADD_FAILURE() << "a stopped server answered";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind(), store::Error::Kind::TimedOut) << e.report().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("応答がありませんでした")))
            << e.report().toStdString();
    }
    const qint64 pollMs = op.elapsed();
    EXPECT_LE(pollMs, kBoundMs);
    // The next operation tries one new connection, as long as the connect may take.
    op.restart();
    EXPECT_THROW(store::memo::insert(*db, {kOwn, "相手", "受人", "メモ", false, {}, "t"}),
                 store::Error);
    const qint64 sendMs = op.elapsed();
    EXPECT_LE(sendMs, kBoundMs);
    const qint64 frozenMs = frozen.elapsed();
    cluster_->thaw();

    const qint64 backMs = msUntilEachSends();
    EXPECT_GE(backMs, 0);
    store::memo::insert(*db, {kOwn, "相手", "受人", "メモ", false, {}, "t"});
    EXPECT_TRUE(store::memo::hasUnread(*db, kOwn));

    double worstMs = 0;
    bool unanswered = false;
    qint64 failures = 0;
    for (const DriverReport& r : finishDrivers()) {
        failures += r.failureCount();
        for (const OpFigures& o : r.ops) {
            worstMs = std::max(worstMs, o.maxMs);
        }
        for (const FailureLine& f : r.failures) {
            unanswered = unanswered || f.text.contains(QStringLiteral("応答がありませんでした"));
        }
    }
    // Each operation caught by the stop ended within the bound, most by the deadline.
    EXPECT_LE(worstMs, double(kBoundMs));
    EXPECT_TRUE(unanswered);
    qint64 unacked = 0;
    const qint64 acknowledged = checkAcknowledged(unacked);
    std::cout << "[ figures  ] stopped server: stopped " << frozenMs << " ms; busy timeout "
              << kBusy.count() << " ms; the watch's check failed after " << pollMs
              << " ms, the next send after " << sendMs << " ms; 2 workstations: " << failures
              << " failed operations, the slowest " << worstMs << " ms (bound " << kBoundMs
              << " ms), each stored 3 more sends " << backMs << " ms after the resume; "
              << acknowledged << " acknowledged sends, each stored once; " << unacked
              << " stored without acknowledgement" << std::endl;
}

TEST_F(ServerFaults, AfterARestartTheNextReadAndTheNextWriteWork) {
    std::unique_ptr<store::Database> db = open();
    store::memo::insert(*db, {kTo, "相手", "受人", "メモ", false, {}, "t"});

    ASSERT_TRUE(cluster_->restart()) << cluster_->failure().toStdString();
    EXPECT_TRUE(store::memo::hasUnread(*db, kTo));

    // The closed connection is found before the write is sent, so the write goes over a new
    // one, once.
    ASSERT_TRUE(cluster_->restart()) << cluster_->failure().toStdString();
    store::memo::insert(*db, {kTo, "相手", "受人", "メモ", false, {}, "t"});
    EXPECT_EQ(store::memo::receivedList(*db, kTo).size(), 2);
}
