#include "store/pg/server.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <QByteArray>

#include "store/error.h"
#include "store/location.h"

namespace store::pg {
namespace {

// The result codes the rest of the store tells failures apart by.
int codeForState(const QByteArray& state) {
    if (state == "25006" || state == "42501") {
        return SQLITE_READONLY;  // read-only transaction, no privilege to write
    }
    if (state == "55P03" || state == "57014" || state == "40P01" || state == "40001") {
        return SQLITE_BUSY;  // lock or statement timeout, deadlock, serialization
    }
    if (state == "3D000" || state.startsWith("08") || state == "57P01" || state == "57P03") {
        return SQLITE_CANTOPEN;  // no such database, connection lost, server shutting down
    }
    return SQLITE_ERROR;
}

QString trimmed(const char* text) {
    return QString::fromUtf8(text).trimmed();
}

}  // namespace

void ResultDeleter::operator()(pg_result* r) const {
    PQclear(r);
}

Server::Server(QString uri, std::chrono::milliseconds timeout)
    : uri_(std::move(uri)), timeout_(timeout) {}

Server::~Server() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
    }
}

void Server::failConnection(const QString& what) {
    const QString reason = conn_ != nullptr ? trimmed(PQerrorMessage(conn_)) : QString();
    throw Error(
        SQLITE_CANTOPEN,
        QStringLiteral("%1: %2 (%3)").arg(what, maskedLocation(uri_), maskedLocation(reason)));
}

void Server::failResult(pg_result* r) {
    if (PQstatus(conn_) != CONNECTION_OK) {
        PQclear(r);
        failConnection(QStringLiteral("サーバーとの接続が切れました"));
    }
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QByteArray code = state != nullptr ? QByteArray(state) : QByteArray();
    QString message = trimmed(PQresultErrorMessage(r));
    PQclear(r);
    const int rc = codeForState(code);
    if (rc == SQLITE_BUSY) {
        message = QStringLiteral("%1（ほかの端末のロックが %2 ms 待っても解けませんでした）")
                      .arg(message, QString::number(timeout_.count()));
    }
    throw Error(rc, maskedLocation(message));
}

void Server::connect() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
        conn_ = nullptr;
    }
    const QByteArray uri = uri_.toUtf8();
    // At least 2 s: libpq reads a shorter connect_timeout as 2 s anyway.
    const qint64 seconds = std::max<qint64>(2, (timeout_.count() + 999) / 1000);
    const QByteArray connectTimeout = QByteArray::number(seconds);
    // The URI comes last, so that what it sets itself wins.
    const char* keys[] = {"connect_timeout", "client_encoding", "dbname", nullptr};
    const char* values[] = {connectTimeout.constData(), "UTF8", uri.constData(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) {
        failConnection(QStringLiteral("サーバーに接続できません"));
    }
    const QString ms = QString::number(timeout_.count());
    exec(QStringLiteral("SET lock_timeout = %1").arg(ms));
    exec(QStringLiteral("SET statement_timeout = %1").arg(ms));
    exec(QStringLiteral("SET idle_in_transaction_session_timeout = %1").arg(ms));
    exec(QStringLiteral("SET client_encoding = 'UTF8'"));
}

bool Server::isLost() const {
    return conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK;
}

void Server::ensureConnected() {
    if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) {
        connect();
    }
}

Result Server::exec(const QString& sql, const TextParams& params) {
    std::vector<QByteArray> bytes;
    std::vector<const char*> values;
    bytes.reserve(params.size());
    values.reserve(params.size());
    for (const auto& p : params) {
        if (p) {
            // Texts travel as C strings: one holding a NUL would arrive cut short, silently.
            if (p->contains(QChar(0))) {
                throw Error::misuse(QStringLiteral(
                    "サーバーには NUL 文字（U+0000）を含む文字列を保存できません。"));
            }
            bytes.push_back(p->toUtf8());
            values.push_back(bytes.back().constData());
        } else {
            values.push_back(nullptr);
        }
    }
    pg_result* r = PQexecParams(conn_, sql.toUtf8().constData(), int(values.size()), nullptr,
                                values.data(), nullptr, nullptr, 0);
    if (r == nullptr) {
        failConnection(QStringLiteral("サーバーとの接続が切れました"));
    }
    const ExecStatusType status = PQresultStatus(r);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        failResult(r);
    }
    return Result(r);
}

Recordset Server::query(const QString& sql, const TextParams& params, std::int64_t maxRows,
                        const QString& filterColumn,
                        const std::function<bool(const QString&)>& accept) {
    const Result r = exec(sql, params);
    const int columns = PQnfields(r.get());
    QStringList names;
    for (int c = 0; c < columns; ++c) {
        names << QString::fromUtf8(PQfname(r.get(), c));
    }
    const int filter = filterColumn.isEmpty() ? -1 : int(names.indexOf(filterColumn));
    const int rows = PQntuples(r.get());
    std::vector<Field> cells;
    std::int64_t kept = 0;
    for (int row = 0; row < rows && (maxRows <= 0 || kept < maxRows); ++row) {
        if (filter >= 0 && (PQgetisnull(r.get(), row, filter) ||
                            !accept(QString::fromUtf8(PQgetvalue(r.get(), row, filter),
                                                      PQgetlength(r.get(), row, filter))))) {
            continue;
        }
        ++kept;
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r.get(), row, c)) {
                cells.emplace_back();
            } else {
                cells.emplace_back(
                    QString::fromUtf8(PQgetvalue(r.get(), row, c), PQgetlength(r.get(), row, c)));
            }
        }
    }
    return Recordset(std::move(names), std::move(cells));
}

}  // namespace store::pg
