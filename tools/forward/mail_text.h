#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The pieces of an Internet mail's text: every line plain ASCII, CRLF-ended and under 78
// characters, whatever the Japanese it carries.
namespace forward {

// A person's mailbox: the name shown (may be empty) and the address.
struct Mailbox {
    QString name;
    QString address;
};

// Whether address is a plain ASCII mail address (local@domain, dot-separated atoms on both sides),
// the only form this relay hands to the mail server: nothing in it can end an SMTP command or a
// header.
bool isMailAddress(const QString& address);

// Reads "address" or "Name <address>" (the name optionally in double quotes); false when the
// text holds no valid address in either form.
bool parseMailbox(const QString& text, Mailbox& mailbox);

// The text on one line: every control character, line and paragraph separator becomes a
// space, runs of spaces left by them become one, and the ends are trimmed.
QString oneLine(const QString& text);

// One header field, name and value, folded into lines under 78 characters and ended with CRLF.
// value is written as RFC 2047 encoded words (UTF-8, base64) unless it is printable ASCII.
QByteArray textHeader(const QByteArray& name, const QString& value);

// A From/To header field: the display name as encoded words (or a quoted string when plain
// ASCII), then the address in angle brackets.
QByteArray mailboxHeader(const QByteArray& name, const Mailbox& mailbox);

// The date and time as RFC 5322 writes it, with the local offset: "Wed, 10 Apr 2024 12:25:00
// +0900".
QByteArray mailDate(const QDateTime& when);

// The UTF-8 of text in base64, in lines of 76 characters each ended with CRLF.
QByteArray base64Lines(const QString& text);

}  // namespace forward
