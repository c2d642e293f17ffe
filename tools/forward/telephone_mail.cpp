#include "tools/forward/telephone_mail.h"

#include <QCryptographicHash>
#include <QStringList>

#include "store/location.h"

namespace forward {
namespace {

// The memo keeps its own line breaks; its later lines are indented so that none of them can
// pass for one of the labelled lines above it.
QString memoLines(const QString& memo) {
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        lines[i] = (i == 0 ? QString() : QStringLiteral("  ")) + oneLine(lines.at(i));
    }
    return lines.join(QStringLiteral("\r\n"));
}

QString body(const TelephoneMessage& m) {
    const QString phone = oneLine(oneLine(m.line) + u' ' + oneLine(m.phone));
    QStringList lines;
    if (m.urgent) {
        lines << QStringLiteral("【至急】") << QString();
    }
    lines << QStringLiteral("あて先：%1様").arg(oneLine(m.addressee.name))
          << QStringLiteral("相手：%1様").arg(oneLine(m.caller))
          << QStringLiteral("受けた人：%1").arg(oneLine(m.taker))
          << QStringLiteral("日時：%1").arg(oneLine(m.receivedAt))
          << QStringLiteral("電話：%1").arg(phone)
          << QStringLiteral("メモ：%1").arg(memoLines(m.memo));
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace

QString locationHash(const QString& dataLocation) {
    const QByteArray digest = QCryptographicHash::hash(store::maskedLocation(dataLocation).toUtf8(),
                                                       QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex().left(16));
}

QByteArray messageId(qint64 number, const QString& dataLocation, const QString& senderAddress) {
    const QString domain = senderAddress.mid(senderAddress.lastIndexOf(u'@') + 1);
    return QStringLiteral("<dulvane.%1.%2@%3>")
        .arg(number)
        .arg(locationHash(dataLocation), domain)
        .toLatin1();
}

QString subjectOf(const TelephoneMessage& message) {
    return (message.urgent ? QStringLiteral("【至急】") : QString()) +
           QStringLiteral("[伝言] %1様からお電話がありました").arg(oneLine(message.caller));
}

Mail composeMail(const Mailbox& sender, const TelephoneMessage& message,
                 const QString& dataLocation, const QDateTime& now) {
    QByteArray text;
    text += mailboxHeader("From", sender);
    text += mailboxHeader("To", message.addressee);
    text += textHeader("Subject", subjectOf(message));
    text += "Date: " + mailDate(now) + "\r\n";
    text += "Message-ID: " + messageId(message.number, dataLocation, sender.address) + "\r\n";
    // Sent by a program: auto-replies (absence notices) are not to come back to it.
    text += "Auto-Submitted: auto-generated\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: text/plain; charset=UTF-8\r\n";
    text += "Content-Transfer-Encoding: base64\r\n";
    text += "\r\n";
    text += base64Lines(body(message));
    return {sender.address, message.addressee.address, text};
}

}  // namespace forward
