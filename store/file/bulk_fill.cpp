#include "store/file/bulk_fill.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "store/error.h"
#include "store/file/file_schema.h"
#include "store/file/statement.h"
#include "store/tables.h"

namespace store::file {
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

BulkFill::BulkFill(const QString& path, const Workspace& workspace) {
    if (!QFileInfo(path).isFile()) {
        throw Error::notOpen(QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    db_ = Connection::open(path, Connection::Mode::Existing, workspace.busyTimeout());
    // The file is new and nobody else has it: the journal stays in memory, so the only syncs
    // are the commit's, and the page cache holds the table's and the index's growing ends.
    execScript(db_.get(), "PRAGMA journal_mode=MEMORY");
    execScript(db_.get(), "PRAGMA synchronous=FULL");
    execScript(db_.get(), "PRAGMA cache_size=-65536");
    transaction_.emplace(db_, Transaction::Kind::Exclusive);
    // Every column but ＮＯ, which the file numbers.
    const QByteArray sql = QStringLiteral("Insert into MEMO_T (%1) Values (%2)")
                               .arg(memoColumns(1), placeholders(memo::kColumns.size() - 1))
                               .toUtf8();
    const int rc = sqlite3_prepare_v3(db_.get(), sql.constData(), int(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &insert_, nullptr);
    if (rc != SQLITE_OK) {
        throwEngineError(db_.get(), rc);
    }
}

BulkFill::~BulkFill() {
    sqlite3_finalize(insert_);
}

void BulkFill::add(const BulkMessage& m) {
    bindText(db_.get(), insert_, 1, m.addressee);
    bindText(db_.get(), insert_, 2, m.caller);
    bindText(db_.get(), insert_, 3, m.taker);
    bindText(db_.get(), insert_, 4, m.memo);
    bindText(db_.get(), insert_, 5, m.line);
    bindText(db_.get(), insert_, 6, m.phone);
    bindText(db_.get(), insert_, 7, m.receivedAt);
    if (m.read) {
        bindText(db_.get(), insert_, 8, m.readOn);
    } else {
        sqlite3_bind_null(insert_, 8);
    }
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    if (rc != SQLITE_DONE) {
        throwEngineError(db_.get(), rc);
    }
}

void BulkFill::commit() {
    // The commit syncs, so a finished file is on disk when the command returns.
    transaction_->commit();
}

}  // namespace store::file
