#include "support/server_data.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QUuid>

#include "store/location.h"

namespace testing_support {
namespace {

// Whether a failure is the test's (reported) or no fault of it (a spare that could not be
// kept or taken: only the answer tells).
enum class OnFailure { Report, Quiet };

// Runs one statement; false when it failed. rows: how many rows it gave.
bool runOn(PGconn* conn, OnFailure onFailure, const QString& sql, int* rows = nullptr) {
    PGresult* r = PQexec(conn, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!ok && onFailure == OnFailure::Report) {
        ADD_FAILURE() << sql.toStdString() << ": " << PQresultErrorMessage(r);
    }
    if (rows != nullptr) {
        *rows = ok ? PQntuples(r) : 0;
    }
    PQclear(r);
    return ok;
}

PGconn* connectTo(const QString& uri, OnFailure onFailure = OnFailure::Report) {
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        if (onFailure == OnFailure::Report) {
            ADD_FAILURE() << "test server: " << PQerrorMessage(conn);
        }
        PQfinish(conn);
        return nullptr;
    }
    return conn;
}

void run(const QString& uri, const QString& sql) {
    if (PGconn* conn = connectTo(uri)) {
        runOn(conn, OnFailure::Report, sql);
        PQfinish(conn);
    }
}

// Making and dropping a database costs the server a checkpoint or a copy of its template, far
// more than most tests themselves: a database a test has finished with is emptied and kept
// under a spare name, and the next test (of any process using the server) renames one for
// itself. The server is a throwaway one, so the spares go with it.
const QString kSparePrefix = QStringLiteral("spare_");

// Renames a spare database of the server to name; false when there is none to take. Another
// process may take the same one first: its rename fails here, and the next is tried.
bool claimSpare(const QString& serverUri, const QString& name) {
    PGconn* conn = connectTo(serverUri, OnFailure::Quiet);
    if (conn == nullptr) {
        return false;
    }
    bool claimed = false;
    PGresult* r = PQexec(conn, "SELECT datname FROM pg_database WHERE datname LIKE 'spare\\_%'");
    if (PQresultStatus(r) == PGRES_TUPLES_OK) {
        for (int i = 0; i < PQntuples(r) && !claimed; ++i) {
            claimed = runOn(conn, OnFailure::Quiet,
                            QStringLiteral("ALTER DATABASE %1 RENAME TO %2")
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
    uri_ = store::withDatabase(serverUri_, name_);
    if (!claimSpare(serverUri_, name_)) {
        run(serverUri_,
            QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name_));
    }
}

bool ServerDatabase::keepAsSpare() const {
    PGconn* conn = connectTo(uri_, OnFailure::Quiet);
    if (conn == nullptr) {
        return false;
    }
    // Nobody else stays connected, nothing but the public schema was made, and the public
    // schema is made again as a new database has it; settings made for the database go too.
    int otherSchemas = 0;
    bool ok =
        runOn(conn, OnFailure::Quiet, QStringLiteral("SET lock_timeout = 5000")) &&
        runOn(conn, OnFailure::Quiet,
              QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                             "pg_stat_activity WHERE datname = current_database() "
                             "AND pid <> pg_backend_pid()")) &&
        runOn(conn, OnFailure::Quiet,
              QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname NOT IN "
                             "('public', 'information_schema') AND nspname NOT LIKE "
                             "'pg\\_%'"),
              &otherSchemas) &&
        otherSchemas == 0 &&
        runOn(conn, OnFailure::Quiet,
              QStringLiteral("BEGIN; DROP SCHEMA public CASCADE; "
                             "CREATE SCHEMA public AUTHORIZATION pg_database_owner; "
                             "GRANT USAGE ON SCHEMA public TO PUBLIC; "
                             "COMMENT ON SCHEMA public IS 'standard public schema'; COMMIT")) &&
        runOn(conn, OnFailure::Quiet, QStringLiteral("ALTER DATABASE %1 RESET ALL").arg(name_)) &&
        runOn(conn, OnFailure::Quiet,
              QStringLiteral("ALTER ROLE ALL IN DATABASE %1 RESET ALL").arg(name_));
    PQfinish(conn);
    if (!ok) {
        return false;
    }
    PGconn* server = connectTo(serverUri_, OnFailure::Quiet);
    if (server == nullptr) {
        return false;
    }
    // The backends ended above may take a moment to go; a rename needs the database unused.
    const QString spare = kSparePrefix + QUuid::createUuid().toString(QUuid::Id128).left(16);
    bool renamed = false;
    for (int attempt = 0; attempt < 50 && !renamed; ++attempt) {
        renamed = runOn(server, OnFailure::Quiet,
                        QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(name_, spare));
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
        runOn(conn_, OnFailure::Report, QStringLiteral("BEGIN"));
        runOn(conn_, OnFailure::Report,
              QStringLiteral("LOCK TABLE \"MEMO_T\" IN ACCESS EXCLUSIVE MODE"));
    }
}

ServerTableLock::~ServerTableLock() {
    if (conn_ != nullptr) {
        PQfinish(conn_);
    }
}

}  // namespace testing_support
