#include "support/server_data.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <QUuid>

namespace testing_support {
namespace {

void run(const QString& uri, const QString& sql) {
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK) {
        ADD_FAILURE() << "test server: " << PQerrorMessage(conn);
    } else {
        PGresult* r = PQexec(conn, sql.toUtf8().constData());
        if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) {
            ADD_FAILURE() << sql.toStdString() << ": " << PQresultErrorMessage(r);
        }
        PQclear(r);
    }
    PQfinish(conn);
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
    run(serverUri_,
        QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name_));
}

void ServerDatabase::dropConnections() const {
    run(serverUri_, QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                   "WHERE datname = '%1' AND pid <> pg_backend_pid()")
                        .arg(name_));
}

ServerDatabase::~ServerDatabase() {
    run(serverUri_, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name_));
}

}  // namespace testing_support
