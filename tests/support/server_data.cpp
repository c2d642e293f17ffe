#include "support/server_data.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QUuid>

namespace testing_support {
namespace {

void runOn(PGconn* conn, const QString& sql) {
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << PQresultErrorMessage(r);
    }
    PQclear(r);
}

PGconn* connectTo(const QString& uri) {
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        ADD_FAILURE() << "test server: " << PQerrorMessage(conn);
        PQfinish(conn);
        return nullptr;
    }
    return conn;
}

void run(const QString& uri, const QString& sql) {
    if (PGconn* conn = connectTo(uri)) {
        runOn(conn, sql);
        PQfinish(conn);
    }
}

// Making and dropping a database costs the server a checkpoint or a copy of its template, far
// more than most tests themselves: a database a test has finished with is emptied and kept
// under a spare name, and the next test (of any process using the server) renames one for
// itself. The server is a throwaway one, so the spares go with it.
const QString kSparePrefix = QStringLiteral("spare_");

// A statement whose failure is no fault of the test: false when it failed.
bool quietly(PGconn* conn, const QString& sql, int* rows = nullptr) {
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (rows != nullptr) {
        *rows = ok ? PQntuples(r) : 0;
    }
    PQclear(r);
    return ok;
}

PGconn* connectQuietly(const QString& uri) {
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        PQfinish(conn);
        return nullptr;
    }
    return conn;
}

// Renames a spare database of the server to name; false when there is none to take. Another
// process may take the same one first: its rename fails here, and the next is tried.
bool claimSpare(const QString& serverUri, const QString& name) {
    PGconn* conn = connectQuietly(serverUri);
    if (conn == nullptr) {
        return false;
    }
    bool claimed = false;
    PGresult* r = PQexec(conn, "SELECT datname FROM pg_database WHERE datname LIKE 'spare\\_%'");
    if (PQresultStatus(r) == PGRES_TUPLES_OK) {
        for (int i = 0; i < PQntuples(r) && !claimed; ++i) {
            claimed = quietly(conn, QStringLiteral("ALTER DATABASE %1 RENAME TO %2")
                                        .arg(QString::fromUtf8(PQgetvalue(r, i, 0)), name));
        }
    }
    PQclear(r);
    PQfinish(conn);
    return claimed;
}

}  // namespace

std::optional<QString> testServerUri() {
    const QByteArray uri = qgetenv("DULVANE_TEST_PG");
    if (uri.isEmpty()) {
        return std::nullopt;
    }
    return QString::fromUtf8(uri);
}

ServerDatabase::ServerDatabase(const QString& serverUri)
    : serverUri_(serverUri),
      name_(QStringLiteral("t_%1_%2").arg(getpid()).arg(
          QUuid::createUuid().toString(QUuid::Id128).left(12))) {
    // postgresql://authority/dbname?parameters: the name sits between the path's '/' and '?'.
    const qsizetype query = serverUri_.indexOf(u'?');
    const qsizetype end = query < 0 ? serverUri_.size() : query;
    const qsizetype slash = serverUri_.indexOf(u'/', serverUri_.indexOf(QLatin1String("://")) + 3);
    const qsizetype start = slash < 0 || slash > end ? end : slash;
    uri_ = serverUri_.left(start) + u'/' + name_ + serverUri_.mid(end);
    if (!claimSpare(serverUri_, name_)) {
        run(serverUri_,
            QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name_));
    }
}

bool ServerDatabase::keepAsSpare() const {
    PGconn* conn = connectQuietly(uri_);
    if (conn == nullptr) {
        return false;
    }
    // Nobody else stays connected, nothing but the public schema was made, and the public
    // schema is made again as a new database has it; settings made for the database go too.
    int otherSchemas = 0;
    bool ok = quietly(conn, QStringLiteral("SET lock_timeout = 5000")) &&
              quietly(conn, QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                           "pg_stat_activity WHERE datname = current_database() "
                                           "AND pid <> pg_backend_pid()")) &&
              quietly(conn,
                      QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname NOT IN "
                                     "('public', 'information_schema') AND nspname NOT LIKE "
                                     "'pg\\_%'"),
                      &otherSchemas) &&
              otherSchemas == 0 &&
              quietly(conn, QStringLiteral(
                                "BEGIN; DROP SCHEMA public CASCADE; "
                                "CREATE SCHEMA public AUTHORIZATION pg_database_owner; "
                                "GRANT USAGE ON SCHEMA public TO PUBLIC; "
                                "COMMENT ON SCHEMA public IS 'standard public schema'; COMMIT")) &&
              quietly(conn, QStringLiteral("ALTER DATABASE %1 RESET ALL").arg(name_)) &&
              quietly(conn, QStringLiteral("ALTER ROLE ALL IN DATABASE %1 RESET ALL").arg(name_));
    PQfinish(conn);
    if (!ok) {
        return false;
    }
    PGconn* server = connectQuietly(serverUri_);
    if (server == nullptr) {
        return false;
    }
    // The backends ended above may take a moment to go; a rename needs the database unused.
    const QString spare = kSparePrefix + QUuid::createUuid().toString(QUuid::Id128).left(16);
    bool renamed = false;
    for (int attempt = 0; attempt < 50 && !renamed; ++attempt) {
        renamed =
            quietly(server, QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(name_, spare));
        if (!renamed) {
            usleep(20000);
        }
    }
    PQfinish(server);
    return renamed;
}

void ServerDatabase::dropConnections() const {
    run(serverUri_, QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   "WHERE datname = '%1' AND pid <> pg_backend_pid()")
                        .arg(name_));
}

ServerDatabase::~ServerDatabase() {
    if (!keepAsSpare()) {
        run(serverUri_, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
    }
}

ServerTableLock::ServerTableLock(const QString& uri) : conn_(connectTo(uri)) {
    if (conn_ != nullptr) {
        runOn(conn_, QStringLiteral("BEGIN"));
        runOn(conn_, QStringLiteral("LOCK TABLE \"MEMO_T\" IN ACCESS EXCLUSIVE MODE"));
    }
}

ServerTableLock::~ServerTableLock() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
    }
}

}  // namespace testing_support
