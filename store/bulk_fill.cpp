#include "store/bulk_fill.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "store/error.h"
#include "store/statement.h"

namespace store::schema {
namespace {

void bindText(sqlite3* db, sqlite3_stmt* st, int index, std::string_view text) {
    // Static: the text outlives the step that reads it. An empty text stays an empty text.
    const int rc = sqlite3_bind_text(st, index, text.empty() ? "" : text.data(), int(text.size()),
                                     SQLITE_STATIC);
    if (rc != SQLITE_OK) {
        throwEngineError(db, rc);
    }
}

}  // namespace

BulkFill::BulkFill(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const Error e(rc, QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc)));
        sqlite3_close_v2(db_);
        throw e;
    }
    sqlite3_extended_result_codes(db_, 1);
    try {
        // The file is new and nobody else has it: the journal stays in memory, so the only
        // syncs are the commit's, and the page cache holds the table's and the index's
        // growing ends.
        execScript(db_, "PRAGMA journal_mode=MEMORY");
        execScript(db_, "PRAGMA synchronous=FULL");
        execScript(db_, "PRAGMA cache_size=-65536");
        execScript(db_, "BEGIN EXCLUSIVE");
        open_ = true;
        const char* sql =
            "Insert into MEMO_T (宛名,相手,受人,メモ,内外線,電話,受付日時,既読) "
            "Values (?,?,?,?,?,?,?,?)";
        const int prc =
            sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &insert_, nullptr);
        if (prc != SQLITE_OK) {
            throwEngineError(db_, prc);
        }
    } catch (...) {
        sqlite3_finalize(insert_);
        sqlite3_close_v2(db_);
        throw;
    }
}

BulkFill::~BulkFill() {
    sqlite3_finalize(insert_);
    if (open_) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db_);
}

void BulkFill::add(const BulkMessage& m) {
    bindText(db_, insert_, 1, m.addressee);
    bindText(db_, insert_, 2, m.caller);
    bindText(db_, insert_, 3, m.taker);
    bindText(db_, insert_, 4, m.memo);
    bindText(db_, insert_, 5, m.line);
    bindText(db_, insert_, 6, m.phone);
    bindText(db_, insert_, 7, m.receivedAt);
    if (m.read) {
        bindText(db_, insert_, 8, m.readOn);
    } else {
        sqlite3_bind_null(insert_, 8);
    }
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    if (rc != SQLITE_DONE) {
        throwEngineError(db_, rc);
    }
}

void BulkFill::commit() {
    // The commit syncs, so a finished file is on disk when the command returns.
    execScript(db_, "COMMIT");
    open_ = false;
}

}  // namespace store::schema
