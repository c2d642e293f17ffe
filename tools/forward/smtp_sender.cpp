// Every call into libcurl is in this file.
#include "tools/forward/smtp_sender.h"

#include <curl/curl.h>

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace forward {
namespace {

// The SMTP conversation as far as it went: the last command sent and the last reply.
struct Conversation {
    QByteArray sent;     // "MAIL", "RCPT", "DATA", "AUTH" ...; "." once the content went
    QByteArray command;  // what the last reply answered
    int code = 0;
    QByteArray reply;
};

int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* c = static_cast<Conversation*>(user);
    const QByteArray text(data, qsizetype(size));
    if (type == CURLINFO_HEADER_OUT) {
        // Only the verb is kept: an AUTH line carries the password.
        static const QList<QByteArray> verbs = {"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL",
                                                "RCPT", "DATA", "QUIT",     "RSET", "NOOP"};
        const QByteArray verb = text.trimmed().split(' ').value(0).toUpper();
        if (verbs.contains(verb)) {
            c->sent = verb;
        }
    } else if (type == CURLINFO_HEADER_IN && c->sent != "QUIT") {
        // The reply to QUIT, after a failure, would hide the reply that failed.
        for (const QByteArray& raw : text.split('\n')) {
            const QByteArray line = raw.trimmed();
            bool ok = false;
            const int code = line.left(3).toInt(&ok);
            if (ok && code >= 200 && code < 600) {
                c->code = code;
                c->reply = line;
                c->command = c->sent;
                if (code == 354) {
                    c->sent = ".";  // the next reply answers the mail's content
                }
            }
        }
    }
    return 0;
}

struct Upload {
    const QByteArray& text;
    qsizetype at = 0;
};

size_t onRead(char* buffer, size_t size, size_t count, void* user) {
    auto* u = static_cast<Upload*>(user);
    const size_t n = std::min(size * count, size_t(u->text.size() - u->at));
    std::memcpy(buffer, u->text.constData() + u->at, n);
    u->at += qsizetype(n);
    return n;
}

// The name this machine gives itself in EHLO, when it is a plain host name.
QString ehloName() {
    static const QRegularExpression hostName(
        QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*"
                       "[A-Za-z0-9])?)*$"));
    const QString name = QSysInfo::machineHostName();
    return hostName.match(name).hasMatch() ? name : QStringLiteral("localhost");
}

QByteArray serverUrl(const Config& config) {
    QUrl url;
    url.setScheme(config.smtps ? QStringLiteral("smtps") : QStringLiteral("smtp"));
    url.setHost(config.host);
    url.setPort(config.port);
    url.setPath(u'/' + ehloName());
    return url.toEncoded();
}

// What the outcome is, from libcurl's code and the conversation.
SendResult judge(const Config& config, CURLcode code, const Conversation& c, const char* error) {
    const QString server = QStringLiteral("%1:%2").arg(config.host).arg(config.port);
    const QString reply = oneLine(QString::fromUtf8(c.reply));
    const QString why = oneLine(QString::fromUtf8(*error ? error : curl_easy_strerror(code))) +
                        (reply.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reply));
    auto result = [&](Outcome o, const QString& detail) { return SendResult{o, c.code, detail}; };
    if (code == CURLE_OK) {
        return result(Outcome::Accepted, reply);
    }
    if (c.code >= 400 && c.code < 500) {
        return result(Outcome::ServerUnavailable,
                      Text::tr("the mail server %1 refuses for now: %2").arg(server, why));
    }
    if (c.code >= 500) {
        if (c.command == "RCPT" || c.command == "DATA" || c.command == ".") {
            return result(Outcome::RecipientRefused,
                          Text::tr("the mail server %1 refused this mail: %2").arg(server, why));
        }
        if (c.command == "AUTH") {
            return result(Outcome::ConfigurationFault,
                          Text::tr("the mail server %1 refused the user name or password: %2")
                              .arg(server, why));
        }
        if (c.command == "MAIL") {
            return result(Outcome::ConfigurationFault,
                          Text::tr("the mail server %1 refused the sender %2: %3")
                              .arg(server, config.from.address, why));
        }
    }
    switch (code) {
        case CURLE_USE_SSL_FAILED:
            return result(Outcome::ServerUnavailable,
                          Text::tr("the mail server %1 offers no STARTTLS, and mail is never sent "
                                   "in clear (starttls = required): nothing was sent")
                              .arg(server));
        case CURLE_LOGIN_DENIED:
            return result(Outcome::ConfigurationFault,
                          Text::tr("the mail server %1 refused the user name or password: %2")
                              .arg(server, why));
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
        case CURLE_NOT_BUILT_IN:
        case CURLE_FAILED_INIT:
            return result(Outcome::ConfigurationFault,
                          Text::tr("no mail can go to %1 as configured: %2").arg(server, why));
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CONNECT_ERROR:
            return result(Outcome::ServerUnavailable,
                          Text::tr("no secure connection to the mail server %1 (a private mail "
                                   "server's certificate needs ca-file): %2")
                              .arg(server, why));
        default:
            return result(Outcome::ServerUnavailable,
                          Text::tr("the mail server %1 could not be reached: %2").arg(server, why));
    }
}

}  // namespace

SendResult sendMail(const Config& config, const Mail& mail) {
    if (!isMailAddress(mail.recipient)) {
        return {Outcome::RecipientRefused, 0,
                Text::tr("\"%1\" is not a mail address").arg(oneLine(mail.recipient))};
    }
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        return {Outcome::ServerUnavailable, 0, Text::tr("libcurl could not start a transfer")};
    }
    CURL* h = curl.get();
    const QByteArray url = serverUrl(config);
    const QByteArray from = '<' + mail.sender.toLatin1() + '>';
    const QByteArray to = '<' + mail.recipient.toLatin1() + '>';
    const QByteArray user = config.user.toUtf8();
    const QByteArray password = config.password.toUtf8();
    const QByteArray caFile = QFile::encodeName(config.caFile);
    const std::unique_ptr<curl_slist, void (*)(curl_slist*)> recipients(
        curl_slist_append(nullptr, to.constData()), curl_slist_free_all);
    Conversation conversation;
    Upload upload{mail.text};
    char error[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(h, CURLOPT_URL, url.constData());
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
#else
    curl_easy_setopt(h, CURLOPT_PROTOCOLS, long(CURLPROTO_SMTP | CURLPROTO_SMTPS));
#endif
    curl_easy_setopt(
        h, CURLOPT_USE_SSL,
        long(config.startTls == StartTls::Off && !config.smtps ? CURLUSESSL_NONE : CURLUSESSL_ALL));
    if (!caFile.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    }
    if (!user.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    }
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, onRead);
    curl_easy_setopt(h, CURLOPT_READDATA, &upload);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);  // the conversation, through onDebug only
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, onDebug);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &conversation);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 15L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, 120L);

    const CURLcode code = curl_easy_perform(h);
    return judge(config, code, conversation, error);
}

}  // namespace forward
