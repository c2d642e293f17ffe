#include "bench/raw_engine.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "store/file/like_function.h"

namespace bench {
namespace {

[[noreturn]] void fail(sqlite3* db) {
    throw std::runtime_error(sqlite3_errmsg(db));
}

}  // namespace

RawDb::RawDb(const QString& path, Like like) : like_(like) {
    if (sqlite3_open_v2(path.toUtf8().constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        fail(db_);
    }
    sqlite3_busy_timeout(db_, 10000);
    exec("PRAGMA journal_mode=DELETE");
    exec("PRAGMA synchronous=FULL");
    exec("PRAGMA mmap_size=0");
    if (like_ == Like::Program) {
        store::file::installLike(db_);
    }
}

RawDb::~RawDb() {
    sqlite3_close_v2(db_);
}

std::string RawDb::match(const char* column) const {
    return std::string(column) + (like_ == Like::Program ? " Like ?" : " GLOB ?");
}

std::string RawDb::prefix(const QString& name) const {
    // Both take '*' for any run of characters; the benchmark's names hold no wildcard.
    return (name + u'*').toStdString();
}

void RawDb::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(db_);
    }
}

sqlite3_stmt* RawDb::prepare(const std::string& sql, const std::vector<std::string>& params) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &st, nullptr) != SQLITE_OK) {
        fail(db_);
    }
    for (size_t i = 0; i < params.size(); ++i) {
        sqlite3_bind_text(st, int(i) + 1, params[i].data(), int(params[i].size()),
                          SQLITE_TRANSIENT);
    }
    return st;
}

std::int64_t RawDb::select(const std::string& sql, const std::vector<std::string>& params,
                           std::int64_t maxRows) {
    sqlite3_stmt* st = prepare(sql, params);
    const int n = sqlite3_column_count(st);
    std::int64_t rows = 0;
    int rc = SQLITE_ROW;
    while ((maxRows <= 0 || rows < maxRows) && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            if (sqlite3_column_type(st, i) != SQLITE_NULL) {
                const unsigned char* text = sqlite3_column_text(st, i);
                benchmark::DoNotOptimize(text);
                benchmark::DoNotOptimize(sqlite3_column_bytes(st, i));
            }
        }
        ++rows;
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        fail(db_);
    }
    return rows;
}

std::int64_t RawDb::execute(const std::string& sql, const std::vector<std::string>& params,
                            const std::vector<std::int64_t>& numbers) {
    exec("BEGIN IMMEDIATE");
    sqlite3_stmt* st = prepare(sql, params);
    for (size_t i = 0; i < numbers.size(); ++i) {
        sqlite3_bind_int64(st, int(params.size() + i) + 1, numbers[i]);
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        fail(db_);
    }
    const std::int64_t changed = sqlite3_changes64(db_);
    exec("COMMIT");
    return changed;
}

}  // namespace bench
