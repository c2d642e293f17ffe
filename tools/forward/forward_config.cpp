#include "tools/forward/forward_config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringDecoder>
#include <QUrl>

#include "store/location.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace forward {
namespace {

const QStringList kKeys = {QStringLiteral("data"),          QStringLiteral("smtp"),
                           QStringLiteral("from"),          QStringLiteral("user"),
                           QStringLiteral("password-file"), QStringLiteral("starttls"),
                           QStringLiteral("interval"),      QStringLiteral("ca-file")};
constexpr int kLongestInterval = 3600;

struct Entry {
    QString value;
    int line = 0;
};

// The file as its administrator is told of it.
class Source {
public:
    explicit Source(const QString& path) : path_(path) {}
    const QString& path() const { return path_; }

    [[noreturn]] void refuse(int line, const QString& why) const {
        throw ConfigError(QStringLiteral("%1:%2: %3").arg(path_).arg(line).arg(why));
    }
    [[noreturn]] void refuse(const QString& why) const {
        throw ConfigError(QStringLiteral("%1: %2").arg(path_, why));
    }
    // Group or others may read it.
    bool readableByOthers() const {
        return QFileInfo(path_).permissions() & (QFile::ReadGroup | QFile::ReadOther);
    }
    // A password written in the file itself is never taken; written in a file that others may
    // read, it is to be taken as known.
    [[noreturn]] void refuseInlinePassword(int line) const {
        if (readableByOthers()) {
            refuse(line, Text::tr("a password, in a file that others may read: mail passwords "
                                  "are never written here. Change that password, then put the "
                                  "new one in a file that only the relay's user may read "
                                  "(chmod 600) and name that file with password-file"));
        }
        refuse(line, Text::tr("mail passwords are not written in the configuration file: put "
                              "it in a file that only the relay's user may read (chmod 600) "
                              "and name that file with password-file"));
    }

private:
    QString path_;
};

QMap<QString, Entry> readEntries(const Source& source) {
    QFile file(source.path());
    if (!file.open(QIODevice::ReadOnly)) {
        throw ConfigError(Text::tr("cannot read the configuration file %1: %2")
                              .arg(source.path(), file.errorString()));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    if (utf8.hasError()) {
        source.refuse(Text::tr("not UTF-8 text"));
    }
    QMap<QString, Entry> entries;
    QString section;
    bool sawSection = false;
    const QStringList lines = text.split(u'\n');
    for (int n = 1; n <= lines.size(); ++n) {
        const QString line = lines.at(n - 1).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';')) {
            continue;
        }
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed();
            if (section != QLatin1String("forward")) {
                source.refuse(
                    n, Text::tr("unknown section [%1]: the file has only [forward]").arg(section));
            }
            sawSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) {
            source.refuse(n, Text::tr("not KEY = VALUE"));
        }
        if (!sawSection) {
            source.refuse(n, Text::tr("a key before the section [forward]"));
        }
        const QString key = line.left(eq).trimmed();
        if (key == QLatin1String("password")) {
            source.refuseInlinePassword(n);
        }
        if (!kKeys.contains(key)) {
            source.refuse(n, Text::tr("unknown key \"%1\" (the keys are %2)")
                                 .arg(key, kKeys.join(QStringLiteral(", "))));
        }
        if (entries.contains(key)) {
            source.refuse(n, Text::tr("\"%1\" given a second time (first on line %2)")
                                 .arg(key)
                                 .arg(entries.value(key).line));
        }
        entries.insert(key, {line.mid(eq + 1).trimmed(), n});
    }
    if (!sawSection) {
        source.refuse(Text::tr("no section [forward]"));
    }
    return entries;
}

bool isLoopback(const QString& host) {
    return host == QLatin1String("localhost") || host == QLatin1String("::1") ||
           (host.startsWith(QLatin1String("127.")) && host.count(u'.') == 3);
}

void readSmtp(const Source& source, const Entry& e, Config& config) {
    const QUrl url(e.value, QUrl::StrictMode);
    if (!url.password().isEmpty()) {
        source.refuseInlinePassword(e.line);
    }
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != QLatin1String("smtp") && scheme != QLatin1String("smtps")) ||
        url.host().isEmpty() || !(url.path().isEmpty() || url.path() == QLatin1String("/")) ||
        url.hasQuery() || url.hasFragment() || !url.userName().isEmpty()) {
        source.refuse(e.line, Text::tr("smtp is to be smtp://HOST:PORT or smtps://HOST:PORT "
                                       "(a user name goes in user), not \"%1\"")
                                  .arg(e.value));
    }
    config.smtps = scheme == QLatin1String("smtps");
    config.host = url.host();
    config.port = url.port(config.smtps ? 465 : 25);
    if (config.port <= 0) {
        source.refuse(e.line, Text::tr("no port in \"%1\"").arg(e.value));
    }
}

// The password file: only the relay's user may do anything with it; its first line is the
// password.
QString readPasswordFile(const Source& source, const Entry& e, const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        source.refuse(e.line, Text::tr("the password file %1 is not there").arg(path));
    }
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (info.permissions() & others) {
        source.refuse(e.line, Text::tr("others may read the password file %1: make it readable "
                                       "by the relay's user only (chmod 600 %1)")
                                  .arg(path));
    }
#ifdef Q_OS_UNIX
    if (info.ownerId() != geteuid()) {
        source.refuse(e.line, Text::tr("the password file %1 belongs to another user: it is to "
                                       "belong to the user the relay runs as")
                                  .arg(path));
    }
#endif
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        source.refuse(
            e.line, Text::tr("cannot read the password file %1: %2").arg(path, file.errorString()));
    }
    QByteArray first = file.readLine();
    while (first.endsWith('\n') || first.endsWith('\r')) {
        first.chop(1);
    }
    if (first.isEmpty()) {
        source.refuse(e.line, Text::tr("the password file %1 holds no password").arg(path));
    }
    return QString::fromUtf8(first);
}

}  // namespace

Config readConfig(const QString& path) {
    const Source source(path);
    const QMap<QString, Entry> entries = readEntries(source);
    for (const char* required : {"data", "smtp", "from"}) {
        if (entries.value(QLatin1String(required)).value.isEmpty()) {
            source.refuse(Text::tr("no %1 in [forward]").arg(QLatin1String(required)));
        }
    }
    Config config;
    const Entry data = entries.value(QStringLiteral("data"));
    config.data = data.value;
    if (store::maskedLocation(config.data) != config.data && source.readableByOthers()) {
        source.refuse(data.line, Text::tr("the data server's password, in a file that others "
                                          "may read: make the file readable by the relay's "
                                          "user only (chmod 600 %1)")
                                     .arg(path));
    }
    readSmtp(source, entries.value(QStringLiteral("smtp")), config);

    const Entry from = entries.value(QStringLiteral("from"));
    if (!parseMailbox(from.value, config.from)) {
        source.refuse(from.line, Text::tr("from is to be a mail address (dulvane@example.jp, or "
                                          "Name <dulvane@example.jp>), not \"%1\"")
                                     .arg(from.value));
    }

    if (entries.contains(QStringLiteral("starttls"))) {
        const Entry e = entries.value(QStringLiteral("starttls"));
        if (e.value == QLatin1String("off")) {
            config.startTls = StartTls::Off;
        } else if (e.value != QLatin1String("required")) {
            source.refuse(e.line,
                          Text::tr("starttls is to be required or off, not \"%1\"").arg(e.value));
        }
        if (config.startTls == StartTls::Off && config.smtps) {
            source.refuse(e.line, Text::tr("starttls = off does not go with smtps://, which is "
                                           "TLS from the start"));
        }
        if (config.startTls == StartTls::Off && !isLoopback(config.host)) {
            source.refuse(e.line, Text::tr("starttls = off sends the mail in clear: only for a "
                                           "mail server on this machine (localhost, 127.0.0.1, "
                                           "::1), not %1")
                                      .arg(config.host));
        }
    }

    if (entries.contains(QStringLiteral("interval"))) {
        const Entry e = entries.value(QStringLiteral("interval"));
        bool ok = false;
        config.interval = e.value.toInt(&ok);
        if (!ok || config.interval < 1 || config.interval > kLongestInterval) {
            source.refuse(e.line, Text::tr("interval is to be whole seconds from 1 to %1, not "
                                           "\"%2\"")
                                      .arg(kLongestInterval)
                                      .arg(e.value));
        }
    }

    const QDir folder = QFileInfo(path).absoluteDir();
    const Entry user = entries.value(QStringLiteral("user"));
    const Entry passwordFile = entries.value(QStringLiteral("password-file"));
    if (user.value.isEmpty() != passwordFile.value.isEmpty()) {
        source.refuse(qMax(user.line, passwordFile.line),
                      Text::tr("user and password-file go together: give both or neither"));
    }
    if (!user.value.isEmpty()) {
        config.user = user.value;
        config.password =
            readPasswordFile(source, passwordFile, folder.absoluteFilePath(passwordFile.value));
    }

    if (entries.contains(QStringLiteral("ca-file"))) {
        const Entry e = entries.value(QStringLiteral("ca-file"));
        config.caFile = folder.absoluteFilePath(e.value);
        const QFileInfo info(config.caFile);
        if (e.value.isEmpty() || !info.isFile() || !info.isReadable()) {
            source.refuse(e.line, Text::tr("cannot read the CA file %1").arg(config.caFile));
        }
    }
    return config;
}

}  // namespace forward
