// Many workstations writing the office's messages at the same moment, in the shared data file
// or on the database server.
//   DULVANE_STORM_SENDS      sends per sending workstation (default 200)
//   DULVANE_STORM_PROCESSES  sending workstations (default 8)
#include <gtest/gtest.h>

#include <QSet>
#include <iostream>
#include <memory>
#include <vector>

#include "support/faults.h"
#include "support/files.h"
#include "support/processes.h"

using namespace testing_support;

namespace {

// Every "ＮＯ<tab>メモ" line of the deleting workstations.
QMap<QString, qint64> deletions(const QStringList& files) {
    QMap<QString, qint64> out;
    for (const QString& file : files) {
        for (const QString& line : readLines(file)) {
            const QString token = line.section(u'\t', 1).section(u' ', 0, 0);
            const qint64 no = line.section(u'\t', 0, 0).toLongLong();
            // Two workstations may delete the same listed message: the second finds it gone.
            EXPECT_EQ(out.value(token, no), no) << token.toStdString();
            out.insert(token, no);
        }
    }
    return out;
}

}  // namespace

class WriteStorm : public OnEachEngine {};
DULVANE_ON_EACH_ENGINE(WriteStorm);

TEST_P(WriteStorm, EveryAcknowledgedSendIsStoredOnceInOrderAndNoLockWaitRunsOut) {
    Office office(GetParam());
    office.makeDataFile();
    const int senders = envCount("DULVANE_STORM_PROCESSES", 8);
    const int sends = envCount("DULVANE_STORM_SENDS", 200);
    const QString data = office.dataPath();

    // Workstations that list, mark read, delete and poll while the others send. "送信者"
    // lists what every sender took (a prefix of all their names).
    struct Lister {
        QString name;
        QString mix;
    };
    const std::vector<Lister> listerSpecs = {
        {QStringLiteral("受信者A"), QStringLiteral("received=3,poll=4,delete=1")},
        {QStringLiteral("受信者B"), QStringLiteral("received=2,sent=1,poll=4,delete=1")},
        {QStringLiteral("送信者"), QStringLiteral("sent=2,poll=2,delete=1")},
    };
    std::vector<std::unique_ptr<Driver>> listers;
    QStringList deletedFiles;
    for (size_t i = 0; i < listerSpecs.size(); ++i) {
        const QString deleted = office.path(QStringLiteral("deleted-%1.txt").arg(i));
        deletedFiles << deleted;
        listers.push_back(std::make_unique<Driver>(QStringList{
            "--file", data, "--name", listerSpecs[i].name, "--mix", listerSpecs[i].mix, "--seconds",
            "600", "--think-ms", "5", "--seed", QString::number(100 + i), "--deleted", deleted}));
        ASSERT_TRUE(listers.back()->waitReady()) << listers.back()->finish().text();
    }

    std::vector<std::unique_ptr<Driver>> senderProcs;
    QStringList ackedFiles;
    for (int i = 0; i < senders; ++i) {
        const QString acked = office.path(QStringLiteral("acked-%1.txt").arg(i));
        ackedFiles << acked;
        senderProcs.push_back(std::make_unique<Driver>(
            QStringList{"--file", data, "--name", QStringLiteral("送信者%1").arg(i), "--to",
                        QStringLiteral("受信者A,受信者A別室,受信者B"), "--mix", "send=1", "--count",
                        QString::number(sends), "--seed", QString::number(i), "--acked", acked}));
    }

    // A bound on the whole run that grows with it: 25 ms a send, every send one after another.
    const int waitMs = 60000 + senders * sends * 25;
    double worstSendMs = 0;
    double worstP99Ms = 0;
    for (int i = 0; i < senders; ++i) {
        const DriverReport r = senderProcs[size_t(i)]->finish(waitMs);
        ASSERT_TRUE(r.exitedNormally) << r.text();
        // No send failed, for a lock or anything else, and every name list re-read worked.
        EXPECT_EQ(r.exitCode, 0) << r.text();
        EXPECT_EQ(r.ops.value("send").count, sends) << r.text();
        EXPECT_EQ(r.failureCount(), 0) << r.text();
        worstSendMs = std::max(worstSendMs, r.ops.value("send").maxMs);
        worstP99Ms = std::max(worstP99Ms, r.ops.value("send").p99Ms);
    }
    qint64 listed = 0;
    qint64 marked = 0;
    double worstListerMs = 0;
    for (auto& lister : listers) {
        lister->terminate();
        const DriverReport r = lister->finish();
        ASSERT_TRUE(r.exitedNormally) << r.text();
        EXPECT_EQ(r.exitCode, 0) << r.text();
        EXPECT_EQ(r.failureCount(), 0) << r.text();
        listed += r.ops.value("received").fields.value("rows").toLongLong() +
                  r.ops.value("sent").fields.value("rows").toLongLong();
        marked += r.ops.value("received").fields.value("marked").toLongLong();
        for (const OpFigures& o : r.ops) {
            worstListerMs = std::max(worstListerMs, o.maxMs);
        }
    }
    // The listing workstations really worked alongside the senders.
    EXPECT_GT(listed, 0);
    EXPECT_GT(marked, 0);

    const QMap<QString, qint64> deleted = deletions(deletedFiles);
    const QMultiMap<QString, qint64> rows = tokenRows(data);
    QSet<QString> acknowledged;
    qint64 ackCount = 0;
    qint64 lost = 0;
    for (const QString& file : ackedFiles) {
        const QStringList acks = readLines(file);
        ackCount += acks.size();
        EXPECT_EQ(acks.size(), sends) << file.toStdString();
        qint64 previous = 0;
        for (const QString& token : acks) {
            acknowledged.insert(token);
            const QList<qint64> nos = rows.values(token);
            qint64 no = 0;
            if (deleted.contains(token)) {
                EXPECT_TRUE(nos.isEmpty()) << "deleted but still there: " << token.toStdString();
                no = deleted.value(token);
            } else {
                EXPECT_EQ(nos.size(), 1) << "acknowledged send stored " << nos.size()
                                         << " times: " << token.toStdString();
                if (nos.isEmpty()) {
                    ++lost;
                    continue;
                }
                no = nos.first();
            }
            // One workstation's messages are numbered in the order it sent them.
            EXPECT_GT(no, previous) << token.toStdString();
            previous = no;
        }
    }
    EXPECT_EQ(acknowledged.size(), ackCount) << "tokens are not unique";
    // Nothing is in the file that no workstation was told it had stored.
    for (const QString& token : rows.uniqueKeys()) {
        EXPECT_TRUE(acknowledged.contains(token)) << "unacknowledged row " << token.toStdString();
    }
    QSet<qint64> numbers;
    for (qint64 no : rows) {
        EXPECT_FALSE(numbers.contains(no)) << "ＮＯ used twice: " << no;
        numbers.insert(no);
    }
    EXPECT_EQ(qint64(rows.size()), ackCount - deleted.size());
    EXPECT_EQ(quickCheck(data), QStringLiteral("ok"));

    std::cout << "[ figures  ] storm (" << engineName(GetParam()) << "): " << senders
              << " senders x " << sends << " sends, " << listers.size() << " listing workstations ("
              << listed << " rows listed, " << marked << " marked read, " << deleted.size()
              << " deleted); worst send " << worstSendMs << " ms, worst send p99 " << worstP99Ms
              << " ms, worst listing-side operation " << worstListerMs << " ms; lost " << lost
              << std::endl;
    RecordProperty("worst_send_ms", std::to_string(worstSendMs));
}
