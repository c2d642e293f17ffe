#include "bench/common.h"

#include <algorithm>
#include <string>

#include <libpq-fe.h>
#include "bench/server_data.h"

#include "store/file/file_database.h"
#include "store/like.h"
#include "store/location.h"
#include "store/memo_table.h"
#include "store/server/connection.h"

namespace bench {

int registerForEngines(const char* name, EngineBenchmark fn,
                       void (*apply)(benchmark::internal::Benchmark*)) {
    std::vector<Engine> engines = {Engine::File};
    if (!serverUri().isEmpty()) {
        engines.push_back(Engine::Server);
    }
    for (Engine engine : engines) {
        const std::string full = std::string(name) + '/' + engineName(engine);
        benchmark::RegisterBenchmark(full.c_str(), [fn, engine](benchmark::State& s) {
            fn(s, engine);
        })->Apply(apply);
    }
    return int(engines.size());
}

void allSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 10000, 100000, 1000000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void upTo100k(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 10000, 100000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

std::unique_ptr<store::Database> openData(const QString& path) {
    return store::Workspace{}.openDatabase(path, store::memo::tableName(),
                                           store::memo::requiredColumns());
}

namespace {

// The data file as a file, for the benchmarks' own statements.
std::unique_ptr<store::file::FileDatabase> openFile(const QString& path) {
    return store::Workspace{}.openFile(path, store::memo::tableName(),
                                       store::memo::requiredColumns());
}

std::unique_ptr<store::server::Connection> connectTo(const QString& uri) {
    auto server = std::make_unique<store::server::Connection>(uri, std::chrono::minutes(10));
    server->connect();
    return server;
}

// Names beginning with name, on the server: exact for the staff's names (no wildcard, no
// letter with a case).
QString serverPrefix(const QString& name) {
    return name + u'%';
}

}  // namespace

UnreadRestorer::UnreadRestorer(const QString& path, const QString& name) {
    if (store::isServerLocation(path)) {
        server_ = connectTo(path);
        const store::server::Result r =
            server_->exec(QStringLiteral("SELECT \"ＮＯ\" FROM \"MEMO_T\" WHERE \"宛名\" LIKE $1 "
                                         "AND \"既読\" IS NULL"),
                          {serverPrefix(name)});
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            unread_.push_back(QByteArray(PQgetvalue(r.get(), row, 0)).toLongLong());
        }
        return;
    }
    db_ = openFile(path);
    store::file::Recordset rs = db_->openRecordset(
        QStringLiteral("Select ＮＯ From MEMO_T Where 宛名 Like ? And 既読 Is Null"),
        {store::prefixPattern(name)});
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        unread_.push_back(rs.field(0).value().toLongLong());
    }
}

UnreadRestorer::~UnreadRestorer() = default;

void UnreadRestorer::markAllUnread(const QString& path) {
    if (store::isServerLocation(path)) {
        connectTo(path)->exec(
            QStringLiteral("UPDATE \"MEMO_T\" SET \"既読\" = NULL WHERE \"既読\" IS NOT NULL"));
        return;
    }
    openFile(path)->execute(QStringLiteral("Update MEMO_T Set 既読 = Null Where 既読 Is Not Null"));
}

void UnreadRestorer::execute(const QString& fileSql, const QString& serverSql) {
    if (server_) {
        server_->exec(serverSql);
    } else {
        db_->execute(fileSql);
    }
}

void UnreadRestorer::restore() {
    if (unread_.empty()) {
        return;
    }
    QString list;
    for (std::int64_t no : unread_) {
        list += QString::number(no) + u',';
    }
    list.chop(1);
    execute(QStringLiteral("Update MEMO_T Set 既読 = Null Where ＮＯ In (%1) And 既読 Is Not Null")
                .arg(list),
            QStringLiteral("UPDATE \"MEMO_T\" SET \"既読\" = NULL WHERE \"ＮＯ\" IN (%1) "
                           "AND \"既読\" IS NOT NULL")
                .arg(list));
}

void report(benchmark::State& state, std::int64_t rowsPerIteration) {
    if (rowsPerIteration > 0) {
        state.SetItemsProcessed(state.iterations() * rowsPerIteration);
        state.counters["rows"] = double(rowsPerIteration);
    }
}

}  // namespace bench
