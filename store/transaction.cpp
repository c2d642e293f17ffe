#include "store/transaction.h"

#include <sqlite3.h>

#include "store/database.h"
#include "store/error.h"
#include "store/file/statement.h"
#include "store/location.h"

namespace store {

using namespace store::file;

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

namespace {

sqlite3* openConnection(Database& db) {
    if (isServerLocation(db.path())) {
        throw Error::misuse(QStringLiteral("この操作はサーバー上のデータでは使えません: %1")
                                .arg(maskedLocation(db.path())));
    }
    if (db.handle() == nullptr) {
        throw Error::notOpen(QStringLiteral("データファイルが開かれていません: %1").arg(db.path()));
    }
    return db.handle();
}

}  // namespace

Transaction::Transaction(Database& db, Kind kind) : Transaction(openConnection(db), kind) {}

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
