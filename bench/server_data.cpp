#include "bench/server_data.h"

#include <libpq-fe.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "bench/data_files.h"
#include "store/error.h"
#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/server/connection.h"

namespace bench {
namespace {

// Making a database from a large template and copying a million messages take minutes, not
// the program's 10 s.
constexpr std::chrono::milliseconds kLong = std::chrono::minutes(30);

std::unique_ptr<store::server::Connection> connectTo(const QString& uri) {
    auto server = std::make_unique<store::server::Connection>(uri, kLong);
    server->connect();
    return server;
}

QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

bool databaseExists(store::server::Connection& admin, const QString& name) {
    return PQntuples(
               admin.exec(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = $1"), {name})
                   .get()) != 0;
}

// A statement that needs the database it names (or copies) free of other sessions. A session
// just closed by this process may still be ending on the server: tried again for a while.
void withDatabaseFree(store::server::Connection& admin, const QString& sql) {
    for (int attempt = 0;; ++attempt) {
        try {
            admin.exec(sql);
            return;
        } catch (const store::Error&) {
            if (attempt >= 50) {
                throw;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

}  // namespace

QString serverUri() {
    return qEnvironmentVariable("DULVANE_BENCH_PG");
}

QString serverDatabase(const QString& name) {
    return store::withDatabase(serverUri(), name);
}

void createServerDatabase(const QString& name, const QString& templateName) {
    auto admin = connectTo(serverUri());
    QString sql = QStringLiteral("CREATE DATABASE %1").arg(quoted(name));
    if (!templateName.isEmpty()) {
        sql += QStringLiteral(" TEMPLATE %1").arg(quoted(templateName));
    }
    withDatabaseFree(*admin, sql);
}

void dropServerDatabase(const QString& name) {
    auto admin = connectTo(serverUri());
    admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quoted(name)));
}

QString cachedServerDatabase(FileKind kind, std::int64_t count) {
    if (serverUri().isEmpty()) {
        throw std::runtime_error("no database server: DULVANE_BENCH_PG is not set");
    }
    const QString name =
        QStringLiteral("bench_%1_%2")
            .arg(kind == FileKind::Office ? QStringLiteral("office") : QStringLiteral("allto"))
            .arg(count);
    {
        auto admin = connectTo(serverUri());
        if (databaseExists(*admin, name)) {
            return name;
        }
    }
    // Filled under another name and renamed when complete, as the data files are.
    const QString partial = name + QStringLiteral("_part");
    if (databaseExists(*connectTo(serverUri()), partial)) {
        dropServerDatabase(partial);
    }
    createServerDatabase(partial);
    const store::Workspace workspace(kLong);
    store::schema::createDataFile(serverDatabase(partial), workspace);
    {
        auto from = workspace.openDatabase(cachedDataFile(kind, count), store::memo::tableName(),
                                           store::memo::requiredColumns());
        auto to = workspace.openDatabase(serverDatabase(partial), store::memo::tableName(),
                                         store::memo::requiredColumns());
        store::maintenance::copyMessages(*from, *to);
    }
    // As the server's own background vacuum leaves a table some time after a large change.
    connectTo(serverDatabase(partial))->exec(QStringLiteral("VACUUM ANALYZE \"MEMO_T\""));
    withDatabaseFree(
        *connectTo(serverUri()),
        QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(quoted(partial), quoted(name)));
    return name;
}

}  // namespace bench
