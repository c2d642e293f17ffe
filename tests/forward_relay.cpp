// The relay against a real mail server and real data on both engines: each new message mailed
// once to its staff member, the history never, refusals and outages survived.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "store/memo_table.h"
#include "store/server/connection.h"
#include "store/staff.h"
#include "support/engines.h"
#include "support/files.h"
#include "support/mail_server.h"
#include "tools/forward/relay.h"

using namespace testing_support;
using forward::RoundEnd;

namespace {

QString header(const QJsonObject& mail, const char* name = "Message-ID") {
    return mail["headers"][QString::fromUtf8(name)].toString();
}

class RelayOnEngine : public OpenedOnEachEngine {
protected:
    void SetUp() override {
        OpenedOnEachEngine::SetUp();
        if (IsSkipped()) {
            return;
        }
        store::staff::add(*db_, {"山田", {}, {}, {}, "yamada@example.jp", true});
        store::staff::add(*db_, {"佐藤", {}, {}, {}, "sato@example.jp", false});
        store::staff::add(*db_, {"鈴木", {}, {}, {}, "suzuki@example.jp", true});
    }

    std::int64_t send(const QString& to, const QString& caller = QStringLiteral("高橋")) {
        store::memo::insert(*db_, {to, caller, "受人", "折り返しお願いします", true, "03-1234",
                                   "2026/12/08 10:00"});
        return db_->highestEverNumbered();
    }

    // The column another release adds for urgent messages, made here where it is missing.
    void markUrgent(std::int64_t no) {
        const QString add = QStringLiteral("ALTER TABLE MEMO_T ADD COLUMN 至急 INTEGER");
        const QString set = QStringLiteral("UPDATE MEMO_T SET 至急 = 1 WHERE ＮＯ = %1").arg(no);
        if (GetParam() == Engine::File) {
            auto file = store::Workspace{}.openFile(store_->location(), store::memo::tableName(),
                                                    store::memo::requiredColumns());
            if (!db_->hasColumn("至急")) {
                file->execute(add);
            }
            file->execute(set);
        } else {
            store::server::Connection c(store_->location(), std::chrono::milliseconds(2000));
            c.connect();
            if (!db_->hasColumn("至急")) {
                c.exec(QString(add).replace("MEMO_T", "\"MEMO_T\""));
            }
            c.exec(QString(set).replace("MEMO_T", "\"MEMO_T\""));
        }
    }

    forward::Config config(int port) const {
        forward::Config c;
        c.data = store_->location();
        c.host = QStringLiteral("127.0.0.1");
        c.port = port;
        c.from = {QStringLiteral("伝言メモ"), QStringLiteral("dulvane@example.jp")};
        c.startTls = forward::StartTls::Off;
        return c;
    }

    static QString subject(const QJsonObject& mail) { return header(mail, "Subject"); }

    QStringList log_;
};

DULVANE_ON_EACH_ENGINE(RelayOnEngine);

}  // namespace

TEST_P(RelayOnEngine, MailsEachNewMessageOnceToItsStaffMemberThroughRefusalsAndOutages) {
    auto server = std::make_unique<MailServer>(
        QStringList{"--answer=suzuki@example.jp=550 5.1.1 no such user"});
    forward::Relay relay(config(server->port()), [&](const QString& l) { log_ << l; });
    send("山田");  // before forwarding was turned on: the office's history
    EXPECT_EQ(relay.round(*db_), RoundEnd::Done);

    const std::int64_t toYamada = send("山田太郎", "株式会社テスト");
    send("佐藤");  // 転送 off
    const std::int64_t toSuzuki = send("鈴木");
    const std::int64_t urgent = send("山田");
    markUrgent(urgent);
    EXPECT_EQ(relay.round(*db_), RoundEnd::Refused);
    QJsonObject mail = server->nextMail();
    EXPECT_EQ(subject(mail), QStringLiteral("[伝言] 株式会社テスト様からお電話がありました"));
    EXPECT_EQ(mail["rcpt"].toArray(), QJsonArray{"yamada@example.jp"});
    EXPECT_TRUE(mail["body"].toString().contains(QStringLiteral("メモ：折り返しお願いします")));
    EXPECT_TRUE(header(mail, "Message-ID").contains(QStringLiteral(".%1.").arg(toYamada)));
    // The refused recipient holds the round up a bounded number of times, then is skipped.
    for (int i = 2; i < forward::kRefusalsTried; ++i) {
        EXPECT_EQ(relay.round(*db_), RoundEnd::Refused);
    }
    EXPECT_EQ(relay.round(*db_), RoundEnd::Done);
    EXPECT_TRUE(log_.filter("FAILED").join("").contains(QString::number(toSuzuki)));
    mail = server->nextMail();
    EXPECT_EQ(subject(mail), QStringLiteral("【至急】[伝言] 高橋様からお電話がありました"));
    EXPECT_EQ(relay.sent(), 2);

    // The mail server stopped: nothing is lost, the message goes once it is back.
    const int port = server->port();
    server.reset();
    const std::int64_t late = send("山田");
    EXPECT_EQ(relay.round(*db_), RoundEnd::MailServerDown);
    EXPECT_EQ(relay.round(*db_), RoundEnd::MailServerDown);
    EXPECT_EQ(log_.filter("takes no mail").size(), 1);
    server = std::make_unique<MailServer>(QStringList{"--port", QString::number(port)});
    EXPECT_EQ(relay.round(*db_), RoundEnd::Done);
    EXPECT_TRUE(
        header(server->nextMail(), "Message-ID").contains(QStringLiteral(".%1.").arg(late)));

    // A relay started again (a new process) sends nothing twice, and 転送 turned on for 佐藤
    // now sends none of the messages from before: the next mail is the next message's.
    store::staff::set(*db_, "佐藤", {"佐藤", {}, {}, {}, "sato@example.jp", true});
    forward::Relay again(config(server->port()), [](const QString&) {});
    EXPECT_EQ(again.round(*db_), RoundEnd::Done);
    EXPECT_EQ(again.sent(), 0);
    const std::int64_t next = send("山田");
    EXPECT_EQ(again.round(*db_), RoundEnd::Done);
    EXPECT_TRUE(
        header(server->nextMail(), "Message-ID").contains(QStringLiteral(".%1.").arg(next)));
}

TEST(RelayCommand, KilledBetweenSendsSendsEachMessageOnceAndOneAtMostTwice) {
    MailServer server;
    Office office;
    office.makeDataFile();
    auto db = store::Workspace{}.openDatabase(office.dataPath(), store::memo::tableName(),
                                              store::memo::requiredColumns());
    store::staff::add(*db, {"山田", {}, {}, {}, "yamada@example.jp", true});
    QFile conf(office.path("forward.conf"));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("[forward]\ndata = %1\nsmtp = smtp://127.0.0.1:%2\nfrom = "
                              "dulvane@example.jp\nstarttls = off\ninterval = 1\n")
                   .arg(office.dataPath())
                   .arg(server.port())
                   .toUtf8());
    conf.close();
    conf.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    auto relay = [&](const QStringList& options) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(ADMIN_PATH),
                QStringList{"forward", "--config", conf.fileName()} + options);
        return p.waitForFinished(60000) ? std::pair(p.exitCode(), QString::fromUtf8(p.readAll()))
                                        : std::pair(-1, QString());
    };
    EXPECT_EQ(relay({"--once"}).first, 0);  // the first start
    constexpr int kMessages = 20;
    for (int i = 0; i < kMessages; ++i) {
        store::memo::insert(*db, {"山田", "相手", "受人", "メモ", false, {}, "2026/12/08 10:00"});
    }
    const auto dry = relay({"--dry-run"});
    EXPECT_EQ(dry.second.count("would send"), kMessages) << dry.second.toStdString();

    QProcess running;
    running.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    running.start(QStringLiteral(ADMIN_PATH), {"forward", "--config", conf.fileName()});
    QStringList ids{header(server.nextMail())};
    running.kill();
    running.waitForFinished();
    EXPECT_EQ(relay({"--once"}).first, 0);
    ids += server.messageIdsTaken();
    QMap<QString, int> times;
    for (const QString& id : ids) {
        ++times[id];
    }
    EXPECT_EQ(times.size(), kMessages);
    EXPECT_LE(ids.size(), kMessages + 1);
}
