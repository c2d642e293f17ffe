#include "store/bulk_fill.h"

#include <sqlite3.h>

#include <QFileInfo>

#include <optional>

#include "store/error.h"
#include "store/file/connection.h"
#include "store/file/file_schema.h"
#include "store/file/statement.h"
#include "store/tables.h"
#include "store/transaction.h"

namespace store {

using file::Connection;

// Declared in the order they are made, so that they go in the reverse order: the statement,
// then the transaction (rolled back unless committed), then the connection.
struct BulkFill::Engine {
    Connection db;
    std::optional<Transaction> transaction;
    sqlite3_stmt* insert = nullptr;
    ~Engine() { sqlite3_finalize(insert); }
};

namespace {

void bindText(sqlite3* db, sqlite3_stmt* st, int index, std::string_view text) {
    // Static: the text outlives the step that reads it. An empty text stays an empty text.
    const int rc = sqlite3_bind_text(st, index, text.empty() ? "" : text.data(), int(text.size()),
                                     SQLITE_STATIC);
    if (rc != SQLITE_OK) {
        file::throwEngineError(db, rc);
    }
}

}  // namespace

BulkFill::BulkFill(const QString& path, const Workspace& workspace)
    : engine_(std::make_unique<Engine>()) {
    if (!QFileInfo(path).isFile()) {
        throw Error::notOpen(QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    engine_->db = Connection::open(path, Connection::Mode::Existing, workspace.busyTimeout());
    // The file is new and nobody else has it: the journal stays in memory, so the only syncs
    // are the commit's, and the page cache holds the table's and the index's growing ends.
    file::execScript(engine_->db.get(), "PRAGMA journal_mode=MEMORY");
    file::execScript(engine_->db.get(), "PRAGMA synchronous=FULL");
    file::execScript(engine_->db.get(), "PRAGMA cache_size=-65536");
    engine_->transaction.emplace(engine_->db, Transaction::Kind::Exclusive);
    // Every column but ＮＯ, which the file numbers.
    const QByteArray sql =
        QStringLiteral("Insert into MEMO_T (%1) Values (%2)")
            .arg(file::memoColumns(1), file::placeholders(memo::kColumns.size() - 1))
            .toUtf8();
    const int rc = sqlite3_prepare_v3(engine_->db.get(), sql.constData(), int(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &engine_->insert, nullptr);
    if (rc != SQLITE_OK) {
        file::throwEngineError(engine_->db.get(), rc);
    }
}

BulkFill::~BulkFill() = default;

void BulkFill::add(const BulkMessage& m) {
    bindText(engine_->db.get(), engine_->insert, 1, m.addressee);
    bindText(engine_->db.get(), engine_->insert, 2, m.caller);
    bindText(engine_->db.get(), engine_->insert, 3, m.taker);
    bindText(engine_->db.get(), engine_->insert, 4, m.memo);
    bindText(engine_->db.get(), engine_->insert, 5, m.line);
    bindText(engine_->db.get(), engine_->insert, 6, m.phone);
    bindText(engine_->db.get(), engine_->insert, 7, m.receivedAt);
    if (m.read) {
        bindText(engine_->db.get(), engine_->insert, 8, m.readOn);
    } else {
        sqlite3_bind_null(engine_->insert, 8);
    }
    const int rc = sqlite3_step(engine_->insert);
    sqlite3_reset(engine_->insert);
    if (rc != SQLITE_DONE) {
        file::throwEngineError(engine_->db.get(), rc);
    }
}

void BulkFill::commit() {
    // The commit syncs, so a finished file is on disk when the command returns.
    engine_->transaction->commit();
}

}  // namespace store
