#pragma once

#include <benchmark/benchmark.h>

#include <QString>
#include <cstdint>
#include <vector>

#include "bench/data_files.h"
#include "store/database.h"

namespace store::server {
class Connection;
}
namespace store::file {
class FileDatabase;
}

namespace bench {

// Registers fn once per engine, as NAME/file/SIZE and NAME/server/SIZE (the server only when
// one is given: DULVANE_BENCH_PG), each with the sizes of apply.
using EngineBenchmark = void (*)(benchmark::State&, Engine);
int registerForEngines(const char* name, EngineBenchmark fn,
                       void (*apply)(benchmark::internal::Benchmark*));
#define BENCHMARK_ENGINES(fn, apply) \
    [[maybe_unused]] static const int fn##_registered = ::bench::registerForEngines(#fn, fn, apply)

// The file sizes every benchmark runs at, where it makes sense.
void allSizes(benchmark::internal::Benchmark* b);
// Up to 100,000 messages: for what is slow or large at 1,000,000 (every message listed).
void upTo100k(benchmark::internal::Benchmark* b);

// Opens a data file or a server's data through the program's adapter, as the window does.
std::unique_ptr<store::Database> openData(const QString& path);

// Restores which messages are unread between iterations of a benchmark that marks them read,
// on a data file or a server's data.
class UnreadRestorer {
public:
    // Remembers the unread messages addressed to names beginning with name.
    UnreadRestorer(const QString& path, const QString& name);
    ~UnreadRestorer();
    // Marks every message unread first (for the worst case: the whole listing to mark).
    static void markAllUnread(const QString& path);
    // Makes the remembered messages unread again.
    void restore();
    std::size_t count() const { return unread_.size(); }

private:
    void execute(const QString& fileSql, const QString& serverSql);

    std::unique_ptr<store::file::FileDatabase> db_;
    std::unique_ptr<store::server::Connection> server_;
    std::vector<std::int64_t> unread_;
};

// ms per operation as the main figure; items/s where a count of rows means something.
void report(benchmark::State& state, std::int64_t rowsPerIteration = 0);

}  // namespace bench
