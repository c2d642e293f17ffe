#pragma once

#include <sqlite3.h>

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The floor a statement cannot go below: the SQLite C API alone, opened with the settings
// the program's adapter uses (rollback journal, synchronous=FULL, no memory mapping, a busy
// timeout), each statement prepared, run and finalised per operation as the adapter does.
class RawDb {
public:
    enum class Like {
        Program,  // the program's like() installed (store::file::installLike), patterns as it binds
        Builtin,  // SQLite's own GLOB with the equivalent pattern: what the engine does alone
    };

    RawDb(const QString& path, Like like);
    ~RawDb();
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    sqlite3* get() const { return db_; }
    Like like() const { return like_; }

    // "宛名 Like ?" or "宛名 GLOB ?", for statement texts.
    std::string match(const char* column) const;
    // The bound pattern for names beginning with name.
    std::string prefix(const QString& name) const;

    // Runs a Select with text parameters and reads every value of every row (as UTF-8, the
    // file's own encoding, so no conversion). Returns the rows; maxRows > 0 stops early.
    std::int64_t select(const std::string& sql, const std::vector<std::string>& params,
                        std::int64_t maxRows = 0);
    // Runs one statement as BEGIN IMMEDIATE ... COMMIT; int64 parameters as numbers.
    std::int64_t execute(const std::string& sql, const std::vector<std::string>& params,
                         const std::vector<std::int64_t>& numbers = {});
    void exec(const char* sql);

private:
    sqlite3_stmt* prepare(const std::string& sql, const std::vector<std::string>& params);

    sqlite3* db_ = nullptr;
    Like like_;
};

}  // namespace bench
