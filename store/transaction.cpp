#include "store/transaction.h"

#include <sqlite3.h>

#include "store/statement.h"

namespace store {

Transaction::Transaction(sqlite3* db, Kind kind) : db_(db) {
    switch (kind) {
        case Kind::Read:
            execScript(db_, "BEGIN");
            break;
        case Kind::Write:
            execScript(db_, "BEGIN IMMEDIATE");
            break;
        case Kind::Exclusive:
            execScript(db_, "BEGIN EXCLUSIVE");
            break;
    }
    open_ = true;
}

Transaction::~Transaction() {
    // A failed statement may have ended the transaction already.
    if (open_ && sqlite3_get_autocommit(db_) == 0) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    execScript(db_, "COMMIT");
    open_ = false;
}

}  // namespace store
