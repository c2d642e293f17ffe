#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "support/mail_server.h"
#include "tools/forward/smtp_sender.h"

using namespace forward;
using testing_support::MailServer;
using namespace Qt::StringLiterals;

namespace {

const QString kLocation = u"/srv/dulvane/dulvane.mdb"_s;

QString header(const QJsonObject& mail, const QString& name) {
    return mail[u"headers"_s][name].toString();
}

Config configFor(int port, StartTls startTls = StartTls::Off) {
    Config c;
    c.data = kLocation;
    c.host = u"127.0.0.1"_s;
    c.port = port;
    c.from = {u"伝言メモ"_s, u"dulvane@example.jp"_s};
    c.startTls = startTls;
    return c;
}

TelephoneMessage messageTo(const QString& address, qint64 number = 7) {
    TelephoneMessage m;
    m.number = number;
    m.addressee = {u"山田太郎"_s, address};
    m.caller = u"佐藤"_s;
    return m;
}

SendResult send(const Config& config, const TelephoneMessage& m) {
    return sendMail(config, composeMail(config.from, m, kLocation, QDateTime::currentDateTime()));
}

QString messageIdOf(qint64 number) {
    return u"<dulvane.%1.%2@example.jp>"_s.arg(number).arg(locationHash(kLocation));
}

}  // namespace

TEST(MailForwarding, ArrivesDecodedWithEveryTextInItsPlace) {
    MailServer server;
    const Config config = configFor(server.port());
    TelephoneMessage m = messageTo(u"yamada@example.jp"_s, 42);
    // A long name to fold, a caller that tries to add a header, a memo with a lone dot line,
    // a NUL and a label of its own.
    m.addressee.name = u"営業部第一課長代理補佐"_s.repeated(4);
    m.caller = u"佐藤\r\nBcc: victim@example.jp"_s;
    m.taker = u"鈴木"_s;
    m.receivedAt = u"2024/04/10 12:25"_s;
    m.line = u"外線"_s;
    m.phone = u"03-1234-5678"_s;
    m.memo = u"折り返し\r\n.\r\n相手：偽"_s + QChar(u'\0') + u"です"_s;
    m.urgent = true;
    const QDateTime now = QDateTime::currentDateTime();
    const SendResult r = sendMail(config, composeMail(config.from, m, kLocation, now));
    ASSERT_EQ(r.outcome, Outcome::Accepted) << r.detail.toStdString();

    const QJsonObject mail = server.nextMail();
    EXPECT_EQ(header(mail, u"Subject"_s),
              u"【至急】[伝言] 佐藤 Bcc: victim@example.jp様からお電話がありました"_s);
    EXPECT_FALSE(mail[u"headers"_s].toObject().contains(u"Bcc"_s));
    EXPECT_EQ(mail[u"rcpt"_s].toArray(), QJsonArray{"yamada@example.jp"});
    EXPECT_EQ(header(mail, u"To"_s), m.addressee.name + u" <yamada@example.jp>"_s);
    EXPECT_EQ(header(mail, u"From"_s), u"伝言メモ <dulvane@example.jp>"_s);
    EXPECT_EQ(header(mail, u"Message-ID"_s), messageIdOf(42));
    EXPECT_EQ(QDateTime::fromString(header(mail, u"Date"_s), Qt::RFC2822Date),
              now.addMSecs(-now.time().msec()));
    const QString body = mail[u"body"_s].toString();
    for (const QString& line : {u"相手：佐藤 Bcc: victim@example.jp様"_s, u"受けた人：鈴木"_s,
                                u"日時：2024/04/10 12:25"_s, u"電話：外線 03-1234-5678"_s,
                                u"メモ：折り返し\n  .\n  相手：偽 です"_s}) {
        EXPECT_TRUE(body.contains(line)) << line.toStdString() << "\n" << body.toStdString();
    }
    for (const QString& line : mail[u"raw"_s].toString().split(u"\r\n"_s)) {
        EXPECT_LT(line.size(), 78) << line.toStdString();
    }

    m.urgent = false;
    EXPECT_EQ(subjectOf(m), u"[伝言] 佐藤 Bcc: victim@example.jp様からお電話がありました"_s);
}

TEST(MailForwarding, TellsEachOutcomeApart) {
    MailServer server({u"--answer=gone@example.jp=550 5.1.1 no such user"_s,
                       u"--answer=busy@example.jp=451 4.3.0 try again later"_s});
    MailServer guarded({u"--login=dulvane:right"_s});
    QTemporaryDir dir;
    const QString cert = dir.filePath(u"cert.pem"_s), key = dir.filePath(u"key.pem"_s);
    QProcess openssl;
    openssl.start(u"openssl"_s,
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                   "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", cert});
    ASSERT_TRUE(openssl.waitForFinished(60000));
    ASSERT_EQ(openssl.exitCode(), 0) << openssl.readAllStandardError().toStdString();
    MailServer secure({u"--tls"_s, cert, key});
    // A port that is bound but takes no connection: nothing answers there.
    const int closed = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(closed, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length), 0);

    Config wrongPassword = configFor(guarded.port());
    wrongPassword.user = u"dulvane"_s;
    wrongPassword.password = u"wrong"_s;
    Config rightPassword = wrongPassword;
    rightPassword.password = u"right"_s;
    Config trusting = configFor(secure.port(), StartTls::Required);
    trusting.caFile = cert;
    const QString yamada = u"yamada@example.jp"_s;
    const struct {
        const char* what;
        Config config;
        QString to;
        Outcome outcome;
        int reply;
    } cases[] = {
        {"taken", configFor(server.port()), yamada, Outcome::Accepted, 250},
        {"recipient refused", configFor(server.port()), "gone@example.jp",
         Outcome::RecipientRefused, 550},
        {"busy for now", configFor(server.port()), "busy@example.jp", Outcome::ServerUnavailable,
         451},
        {"not a mail address", configFor(server.port()), "yamada@example.jp>\r\nRCPT TO:<x@y.jp",
         Outcome::RecipientRefused, 0},
        {"nothing listening", configFor(ntohs(address.sin_port)), yamada,
         Outcome::ServerUnavailable, 0},
        {"no STARTTLS offered", configFor(server.port(), StartTls::Required), yamada,
         Outcome::ServerUnavailable, 250},
        {"password refused", wrongPassword, yamada, Outcome::ConfigurationFault, 535},
        {"password taken", rightPassword, yamada, Outcome::Accepted, 250},
        {"certificate not trusted", configFor(secure.port(), StartTls::Required), yamada,
         Outcome::ServerUnavailable, 220},
        {"certificate trusted", trusting, yamada, Outcome::Accepted, 250},
    };
    for (const auto& c : cases) {
        const SendResult r = send(c.config, messageTo(c.to));
        EXPECT_EQ(r.outcome, c.outcome) << c.what << ": " << r.detail.toStdString();
        EXPECT_EQ(r.reply, c.reply) << c.what << ": " << r.detail.toStdString();
        EXPECT_FALSE(r.detail.contains(u"right"_s)) << c.what;
    }
    close(closed);
    // Only the mails taken arrived: the next mail after the first is the one sent now.
    EXPECT_EQ(server.nextMail()[u"rcpt"_s].toArray(), QJsonArray{yamada});
    ASSERT_EQ(send(configFor(server.port()), messageTo(yamada, 99)).outcome, Outcome::Accepted);
    EXPECT_EQ(header(server.nextMail(), u"Message-ID"_s), messageIdOf(99));
    EXPECT_EQ(guarded.nextMail()[u"rcpt"_s].toArray(), QJsonArray{yamada});
    EXPECT_TRUE(secure.nextMail()[u"tls"_s].toBool());
}
