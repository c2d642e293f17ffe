#include "tools/forward/mail_text.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>

namespace forward {
namespace {

constexpr int kLineLimit = 76;  // RFC 2047 asks for lines of 76 characters at most
const QByteArray kWordStart = "=?UTF-8?B?";
const QByteArray kWordEnd = "?=";

bool isPlainAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) {
            return false;
        }
    }
    return true;
}

// The characters of text, each as its UTF-8 bytes, so that an encoded word never splits one.
QList<QByteArray> utf8Characters(const QString& text) {
    QList<QByteArray> chars;
    for (int i = 0; i < text.size(); ++i) {
        const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        chars.append(text.mid(i, n).toUtf8());
        i += n - 1;
    }
    return chars;
}

// Appends text to out as encoded words, starting on a line that already holds column
// characters; each word that would not fit goes on a folded line of its own.
void appendEncodedWords(QByteArray& out, int& column, const QString& text) {
    const QList<QByteArray> chars = utf8Characters(text);
    qsizetype next = 0;
    while (next < chars.size()) {
        // Room for the word on this line, or else on a fresh folded line.
        auto room = [&](int col) {
            return (kLineLimit - col - 1 - kWordStart.size() - kWordEnd.size()) / 4 * 3;
        };
        if (room(column) < chars.at(next).size()) {
            out += "\r\n";
            column = 0;
        }
        const int bytes = room(column);
        QByteArray piece;
        while (next < chars.size() && piece.size() + chars.at(next).size() <= bytes) {
            piece += chars.at(next++);
        }
        const QByteArray word = kWordStart + piece.toBase64() + kWordEnd;
        out += ' ' + word;
        column += 1 + int(word.size());
    }
}

}  // namespace

bool isMailAddress(const QString& address) {
    // dot-atom "@" dot-atom, in printable ASCII, within SMTP's limit for a path.
    static const QRegularExpression form(QStringLiteral(
        "^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
        "@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*$"));
    return address.size() <= 254 && form.match(address).hasMatch();
}

bool parseMailbox(const QString& text, Mailbox& mailbox) {
    const QString t = text.trimmed();
    if (isMailAddress(t)) {
        mailbox = {QString(), t};
        return true;
    }
    const qsizetype open = t.lastIndexOf(u'<');
    if (open < 0 || !t.endsWith(u'>')) {
        return false;
    }
    const QString address = t.mid(open + 1, t.size() - open - 2);
    QString name = t.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) {
        name = name.mid(1, name.size() - 2);
    }
    if (!isMailAddress(address) || name.contains(u'<') || name.contains(u'>')) {
        return false;
    }
    mailbox = {oneLine(name), address};
    return true;
}

QString oneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        const bool separator = c.category() == QChar::Other_Control ||
                               c.category() == QChar::Separator_Line ||
                               c.category() == QChar::Separator_Paragraph;
        line += separator ? QChar(u' ') : c;
    }
    return line.simplified();
}

QByteArray textHeader(const QByteArray& name, const QString& value) {
    QByteArray out = name + ':';
    int column = int(out.size());
    const QString v = oneLine(value);
    if (isPlainAscii(v) && column + 1 + v.size() <= kLineLimit) {
        out += ' ' + v.toLatin1();
    } else {
        appendEncodedWords(out, column, v);
    }
    return out + "\r\n";
}

QByteArray mailboxHeader(const QByteArray& name, const Mailbox& mailbox) {
    QByteArray out = name + ':';
    int column = int(out.size());
    const QString display = oneLine(mailbox.name);
    if (display.isEmpty()) {
        // nothing shown but the address
    } else if (isPlainAscii(display) && column + display.size() + 3 <= kLineLimit) {
        QByteArray quoted = display.toLatin1();
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        out += " \"" + quoted + '"';
        column += int(quoted.size()) + 3;
    } else {
        appendEncodedWords(out, column, display);
    }
    const QByteArray address = '<' + mailbox.address.toLatin1() + '>';
    if (column + 1 + address.size() > kLineLimit) {
        out += "\r\n";
    }
    return out + ' ' + address + "\r\n";
}

QByteArray mailDate(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const int magnitude = offset < 0 ? -offset : offset;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(QChar(offset < 0 ? u'-' : u'+'))
                             .arg(magnitude / 60, 2, 10, QChar(u'0'))
                             .arg(magnitude % 60, 2, 10, QChar(u'0'));
    // Day and month names are English whatever the locale.
    return (QLocale::c().toString(local, QStringLiteral("ddd, d MMM yyyy HH:mm:ss ")) + zone)
        .toLatin1();
}

QByteArray base64Lines(const QString& text) {
    const QByteArray all = text.toUtf8().toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < all.size(); i += kLineLimit) {
        out += all.mid(i, kLineLimit) + "\r\n";
    }
    return out;
}

}  // namespace forward
