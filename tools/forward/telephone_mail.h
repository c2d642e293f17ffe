#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include "tools/forward/mail_text.h"

// The mail that tells a staff member of a telephone message left for them.
namespace forward {

// One telephone message as the mail tells it, with its addressee's mailbox from the staff
// directory. The texts are the message's own and may hold anything.
struct TelephoneMessage {
    qint64 number = 0;   // ＮＯ
    Mailbox addressee;   // 宛名's staff member: the name shown and the mail address
    QString caller;      // 相手
    QString taker;       // 受人
    QString receivedAt;  // 受付日時, as stored
    QString line;        // 内外線
    QString phone;       // 電話
    QString memo;        // メモ
    bool urgent = false;
};

// A mail ready for the mail server: the envelope's two addresses and the text itself (CRLF
// lines, ASCII only).
struct Mail {
    QString sender;
    QString recipient;
    QByteArray text;
};

// A short fixed hash of the office's data location (a password in a server URI left out), so
// that a mail's Message-ID tells which office's message it carries.
QString locationHash(const QString& dataLocation);

// "<dulvane.NO.HASH@DOMAIN>", DOMAIN the sender's: the same message from the same office
// always gets the same Message-ID, so a mail sent twice is recognisable as one.
QByteArray messageId(qint64 number, const QString& dataLocation, const QString& senderAddress);

// The subject: "[伝言] 〇〇様からお電話がありました", "【至急】" before it when urgent.
QString subjectOf(const TelephoneMessage& message);

// The mail from sender to the message's addressee, dated now. The caller's and every other
// text stays in its own place: a header's texts are encoded words on one line, the body is
// base64.
Mail composeMail(const Mailbox& sender, const TelephoneMessage& message,
                 const QString& dataLocation, const QDateTime& now);

}  // namespace forward
