#pragma once

#include <QString>

#include "store/error.h"

#include "store/params.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store::file {

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(const Params& params);
    // One step: true while a row is ready.
    bool step();
    sqlite3_stmt* get() const { return stmt_; }

private:
    [[noreturn]] void fail(int rc) const;

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

[[noreturn]] void throwEngineError(sqlite3* db, int rc);

// Runs statements that take no parameters and return no rows (pragmas, schema, transaction
// control); throws the engine's error.
void execScript(sqlite3* db, const char* sql);

}  // namespace store::file
