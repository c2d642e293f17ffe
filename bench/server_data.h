#pragma once

#include <QString>
#include <cstdint>

namespace bench {

enum class FileKind;

// The database server the benchmarks measure beside the file: DULVANE_BENCH_PG, the URI of a
// database on it through which they may make and drop databases of their own
// (tools/bench.sh starts a throwaway server and sets it). Empty when no server is given.
QString serverUri();

// The URI of the database named name on that server.
QString serverDatabase(const QString& name);

// The name of a server database filled once with the messages of the generated file of that
// kind and size (the administrator's copy, then VACUUM ANALYZE), kept for later runs.
QString cachedServerDatabase(FileKind kind, std::int64_t count);

// A new database on the server, a copy of the database templateName (empty: an empty one).
void createServerDatabase(const QString& name, const QString& templateName = {});
void dropServerDatabase(const QString& name);

}  // namespace bench
