#include "store/server/connection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <cerrno>
#include <climits>

#include <QByteArray>

#include "store/error.h"
#include "store/location.h"
#include "store/utf8_text.h"

namespace store::server {

Error::Kind kindOfState(const QByteArray& state) {
    if (state == "25006") {
        return Error::Kind::ReadOnly;  // a read-only transaction or server
    }
    if (state == "42501" || state.startsWith("28")) {
        return Error::Kind::NoPermission;  // no privilege, authorisation refused
    }
    if (state == "55P03" || state == "40P01" || state == "40001") {
        return Error::Kind::Locked;  // lock timeout, deadlock, serialization
    }
    if (state == "57014") {
        return Error::Kind::TimedOut;  // the statement timeout
    }
    if (state == "3D000") {
        return Error::Kind::Missing;  // no such database
    }
    if (state == "42P01" || state == "42703") {
        return Error::Kind::NotADataFile;  // no message table, or a column missing
    }
    if (state.startsWith("08") || state == "57P01" || state == "57P02" || state == "57P03") {
        return Error::Kind::ConnectionLost;  // connection lost, server shutting down
    }
    return Error::Kind::Other;
}

namespace {

// What kind of failure a refused connection is: libpq gives no SQLSTATE for it, only the
// server's or its own words.
Error::Kind kindForConnectFailure(const QString& reason) {
    if (reason.contains(QLatin1String("does not exist"))) {
        return Error::Kind::Missing;
    }
    if (reason.contains(QLatin1String("authentication failed")) ||
        reason.contains(QLatin1String("permission denied")) ||
        reason.contains(QLatin1String("no pg_hba.conf entry"))) {
        return Error::Kind::NoPermission;
    }
    return Error::Kind::ConnectionLost;
}

QString trimmed(const char* text) {
    return QString::fromUtf8(text).trimmed();
}

}  // namespace

void ResultDeleter::operator()(pg_result* r) const {
    PQclear(r);
}

Connection::Connection(QString uri, std::chrono::milliseconds timeout)
    : uri_(std::move(uri)), timeout_(timeout) {}

Connection::~Connection() {
    drop();
}

void Connection::failConnection(const QString& what) {
    QString reason = conn_ != nullptr ? trimmed(PQerrorMessage(conn_)) : QString();
    // A connection left in an unknown state is of no further use: the next operation opens
    // a new one.
    drop();
    if (reason.isEmpty()) {
        throw Error(Error::Kind::ConnectionLost,
                    QStringLiteral("%1: %2").arg(what, maskedLocation(uri_)));
    }
    throw Error(
        kindForConnectFailure(reason),
        QStringLiteral("%1: %2 (%3)").arg(what, maskedLocation(uri_), maskedLocation(reason)));
}

void Connection::failResult(pg_result* r) {
    if (PQstatus(conn_) != CONNECTION_OK) {
        PQclear(r);
        failConnection(QStringLiteral("サーバーとの接続が切れました"));
    }
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QByteArray code = state != nullptr ? QByteArray(state) : QByteArray();
    QString message = trimmed(PQresultErrorMessage(r));
    PQclear(r);
    const Error::Kind kind = kindOfState(code);
    if (kind == Error::Kind::Locked) {
        message = QStringLiteral("%1（ほかの端末のロックが %2 ms 待っても解けませんでした）")
                      .arg(message, QString::number(timeout_.count()));
    } else if (kind == Error::Kind::TimedOut) {
        message = QStringLiteral("%1（%2 ms 待っても終わりませんでした）")
                      .arg(message, QString::number(timeout_.count()));
    }
    throw Error(kind, maskedLocation(message), QString::fromLatin1(code));
}

void Connection::drop() {
    if (conn_ != nullptr) {
        // The connection is non-blocking: saying goodbye never waits for the server.
        PQfinish(conn_);
        conn_ = nullptr;
    }
}

std::chrono::milliseconds Connection::answerWait() const {
    // After the server's own statement timeout (see connect), with a margin.
    return std::max(std::chrono::milliseconds(1000), timeout_) +
           std::max(std::chrono::milliseconds(1000), timeout_ / 4);
}

void Connection::giveUp() {
    drop();
    unanswered_ = true;
    throw Error(Error::Kind::TimedOut,
                QStringLiteral("サーバーから %1 ms 待っても応答がありませんでした: %2")
                    .arg(QString::number(answerWait().count()), maskedLocation(uri_)));
}

short Connection::awaitSocket(short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            giveUp();
        }
        pollfd fd{PQsocket(conn_), events, 0};
        if (fd.fd < 0) {
            failConnection(QStringLiteral("サーバーとの接続が切れました"));
        }
        const int n = ::poll(&fd, 1, int(std::min<std::int64_t>(left.count(), INT_MAX)));
        if (n > 0) {
            return fd.revents;
        }
        if (n < 0 && errno != EINTR) {
            failConnection(QStringLiteral("サーバーとの接続が切れました"));
        }
    }
}

void Connection::connect() {
    drop();
    unanswered_ = false;
    const QByteArray uri = uri_.toUtf8();
    // At least 2 s: libpq reads a shorter connect_timeout as 2 s anyway.
    const qint64 seconds = std::max<qint64>(2, (timeout_.count() + 999) / 1000);
    const QByteArray connectTimeout = QByteArray::number(seconds);
    // The URI comes last, so that what it sets itself wins.
    std::vector<const char*> keys = {"connect_timeout", "client_encoding"};
    std::vector<const char*> values = {connectTimeout.constData(), "UTF8"};
    QByteArray idle;
    QByteArray interval;
    if (keepAliveIdle_) {
        idle = QByteArray::number(qint64(std::max<qint64>(1, keepAliveIdle_->count())));
        interval = QByteArray::number(qint64(std::max<qint64>(1, keepAliveIdle_->count() / 3)));
        keys.insert(keys.end(),
                    {"keepalives", "keepalives_idle", "keepalives_interval", "keepalives_count"});
        values.insert(values.end(), {"1", idle.constData(), interval.constData(), "3"});
    }
    keys.insert(keys.end(), {"dbname", nullptr});
    values.insert(values.end(), {uri.constData(), nullptr});
    conn_ = PQconnectdbParams(keys.data(), values.data(), 1);
    if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK || PQsetnonblocking(conn_, 1) != 0) {
        failConnection(QStringLiteral("サーバーに接続できません"));
    }
    // The server reads 0 as "wait for ever": not waiting for a lock is 1 ms. A statement and
    // an idle transaction get at least a second, since a file's statements never time out.
    const QString lockMs = QString::number(std::max<qint64>(1, timeout_.count()));
    const QString ms = QString::number(std::max<qint64>(1000, timeout_.count()));
    exec(QStringLiteral("SET lock_timeout = %1").arg(lockMs));
    exec(QStringLiteral("SET statement_timeout = %1").arg(ms));
    exec(QStringLiteral("SET idle_in_transaction_session_timeout = %1").arg(ms));
    exec(QStringLiteral("SET client_encoding = 'UTF8'"));
}

bool Connection::isLost() const {
    return conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK;
}

// An idle connection receives nothing unless the server has closed it (a restart, an ended
// session): its farewell and the end of the stream wait on the socket.
bool Connection::closedWhileIdle() const {
    pollfd fd{PQsocket(conn_), POLLIN, 0};
    return fd.fd < 0 || ::poll(&fd, 1, 0) != 0;
}

void Connection::ensureConnected() {
    if (isLost() || closedWhileIdle()) {
        connect();
    }
}

Result Connection::exec(const QString& sql, const TextParams& params) {
    std::vector<QByteArray> bytes;
    std::vector<const char*> values;
    bytes.reserve(params.size());
    values.reserve(params.size());
    for (const auto& p : params) {
        if (p) {
            // Texts travel as C strings: one holding a NUL would arrive cut short, silently.
            if (p->contains(QChar(0))) {
                throw Error(Error::Kind::TextRefused,
                            QStringLiteral(
                                "サーバーには NUL 文字（U+0000）を含む文字列を保存できません。"));
            }
            // Half a character becomes U+FFFD, as a data file stores it (Qt's UTF-8 would
            // make it "?").
            bytes.push_back(utf8::withoutLoneSurrogates(*p).toUtf8());
            values.push_back(bytes.back().constData());
        } else {
            values.push_back(nullptr);
        }
    }
    const QString lost = QStringLiteral("サーバーとの接続が切れました");
    if (conn_ == nullptr) {
        failConnection(lost);
    }
    // The server's own timeouts end a statement first, with their clearer message; this
    // deadline is for a server that does not answer at all (stopped, or its host hung).
    const auto deadline = std::chrono::steady_clock::now() + answerWait();
    if (PQsendQueryParams(conn_, sql.toUtf8().constData(), int(values.size()), nullptr,
                          values.data(), nullptr, nullptr, 0) == 0) {
        failConnection(lost);
    }
    for (int left = PQflush(conn_); left != 0; left = PQflush(conn_)) {
        if (left < 0) {
            failConnection(lost);
        }
        if ((awaitSocket(POLLIN | POLLOUT, deadline) & POLLIN) != 0 && PQconsumeInput(conn_) == 0) {
            failConnection(lost);
        }
    }
    // Every result of the statement is read, so that the connection is ready for the next;
    // the first failure is the one reported, else the last result.
    Result kept;
    for (;;) {
        while (PQisBusy(conn_) != 0) {
            awaitSocket(POLLIN, deadline);
            if (PQconsumeInput(conn_) == 0) {
                failConnection(lost);
            }
        }
        pg_result* r = PQgetResult(conn_);
        if (r == nullptr) {
            break;
        }
        const ExecStatusType status = PQresultStatus(r);
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH) {
            PQclear(r);
            failConnection(QStringLiteral("サーバーが想定しない応答を返しました"));
        }
        const bool keptFailed = kept && PQresultStatus(kept.get()) != PGRES_COMMAND_OK &&
                                PQresultStatus(kept.get()) != PGRES_TUPLES_OK;
        if (!keptFailed) {
            kept.reset(r);
        } else {
            PQclear(r);
        }
    }
    if (!kept) {
        failConnection(lost);
    }
    const ExecStatusType status = PQresultStatus(kept.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        failResult(kept.release());
    }
    return kept;
}

}  // namespace store::server
