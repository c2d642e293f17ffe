#pragma once

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace testing_support {

// The test's mail server (tests/support/mail_server.py), a process ended with the test.
class MailServer {
public:
    explicit MailServer(const QStringList& options = {}) {
        process_.start(QStringLiteral(PYTHON3_PATH),
                       QStringList{QStringLiteral(MAIL_SERVER_PATH)} + options);
        port_ = nextLine().trimmed().toInt();
        EXPECT_GT(port_, 0) << process_.readAllStandardError().toStdString();
    }
    ~MailServer() {
        process_.kill();
        process_.waitForFinished();
    }
    int port() const { return port_; }
    // The next mail the server took, as it decoded it. It writes the mail before it answers
    // the mail's content, so a mail that was accepted is there at once.
    QJsonObject nextMail() { return QJsonDocument::fromJson(nextLine()).object(); }
    // The Message-IDs of every mail taken so far and not read yet (the senders have finished).
    QStringList messageIdsTaken() {
        QStringList ids;
        while (process_.canReadLine() || process_.waitForReadyRead(500)) {
            while (process_.canReadLine()) {
                const QJsonObject mail = QJsonDocument::fromJson(process_.readLine()).object();
                ids << mail[QStringLiteral("headers")][QStringLiteral("Message-ID")].toString();
            }
        }
        return ids;
    }

private:
    QByteArray nextLine() {
        while (!process_.canReadLine() && process_.waitForReadyRead(30000)) {
        }
        return process_.readLine();
    }
    QProcess process_;
    int port_ = 0;
};

}  // namespace testing_support
