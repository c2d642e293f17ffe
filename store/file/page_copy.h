#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

struct sqlite3;

namespace store::file {

// Copies the database open on from (a data file at fromPath) page by page through the engine's
// online backup into copyPath, an existing empty file, while other workstations go on using
// the original: a writer that holds the file waits the copy up to patience between steps. The
// copy is left in rollback-journal mode and checked sound. progress(done, total) counts pages.
// Throws store::Error.
void copyPages(sqlite3* from, const QString& fromPath, const QString& copyPath,
               std::chrono::milliseconds patience,
               const std::function<void(std::int64_t, std::int64_t)>& progress = {});

}  // namespace store::file
