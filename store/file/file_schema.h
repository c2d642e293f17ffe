#pragma once

#include <QString>
#include <chrono>
#include <cstddef>
#include <optional>

#include "store/file/connection.h"

struct sqlite3;

// The files' own schema: what FileDatabase's createTable, upgradeTable and checkTable do
// (file_schema.cpp), and the settings file.
namespace store::file {

// Reserves the path with a new empty file and opens it, so that an existing file is never
// overwritten.
Connection createNewFile(const QString& path, std::chrono::milliseconds busyTimeout);

// Makes a new settings file with INI_T and its row ＮＯ = 1 (Null where a value is absent).
// Refuses an existing path.
void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder,
                        std::chrono::milliseconds busyTimeout);

// The names of memo::kColumns from first on, joined by commas, for statements.
QString memoColumns(std::size_t first = 0);
// count question marks joined by commas.
QString placeholders(std::size_t count);

// Whether the file holds the table.
bool hasTable(sqlite3* db, const QString& table);

// Adds what later releases added and the file lacks (STAFF_T, FORWARD_T, MEMO_T's added
// columns), inside the open write transaction; true when something was added.
bool addLaterParts(sqlite3* db);
// Whether MEMO_T has the column.
bool hasMemoColumnNamed(sqlite3* db, const QString& column);

// Whether the file has the indexes over the three name columns.
bool hasNameIndexes(sqlite3* db);

}  // namespace store::file
