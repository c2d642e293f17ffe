#include "store/database.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <cassert>

#include "store/like.h"
#include "store/statement.h"

namespace store {
namespace {

QString columnText(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_text16(stmt, column);
    const int bytes = sqlite3_column_bytes16(stmt, column);
    if (data == nullptr) {
        return QStringLiteral("");
    }
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

// Runs a pragma or a statement that returns at most one text value.
QString singleText(sqlite3* db, const QString& sql) {
    Statement st(db, sql);
    return st.step() ? columnText(st.get(), 0) : QString();
}

void closeQuietly(sqlite3* db) { sqlite3_close_v2(db); }

}  // namespace

Database::Database(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}

Database::~Database() { closeQuietly(db_); }

void Database::fail(int rc) const { throwEngineError(db_, rc); }

void Database::checkStillThere() const {
    if (identityOf(path_) != identity_) {
        throw Error(SQLITE_CANTOPEN,
                    QStringLiteral("データファイルが移動、削除または置き換えられました: %1").arg(path_));
    }
}

Recordset Database::openRecordset(const QString& sql, const Params& params,
                                  std::int64_t maxRows) {
    checkStillThere();
    std::vector<Field> cells;
    QStringList columns;
    {
        Statement st(db_, sql);
        st.bind(params);
        const int n = sqlite3_column_count(st.get());
        columns.reserve(n);
        for (int i = 0; i < n; ++i) {
            columns << QString(
                reinterpret_cast<const QChar*>(sqlite3_column_name16(st.get(), i)));
        }
        std::int64_t rows = 0;
        while ((maxRows <= 0 || rows < maxRows) && st.step()) {
            for (int i = 0; i < n; ++i) {
                if (sqlite3_column_type(st.get(), i) == SQLITE_NULL) {
                    cells.push_back(Field{});
                } else {
                    cells.push_back(Field{columnText(st.get(), i), false});
                }
            }
            ++rows;
        }
    }
    assert(openStatementCount() == 0);
    return Recordset(std::move(columns), std::move(cells));
}

std::int64_t Database::execute(const QString& sql, const Params& params) {
    if (isReadOnly()) {
        throw Error(SQLITE_READONLY,
                    QStringLiteral("データファイルに書き込めません（読み取り専用で開かれています）: %1")
                        .arg(path_));
    }
    checkStillThere();
    // BEGIN IMMEDIATE takes the write lock at once, waiting up to the busy timeout for other
    // workstations; a deferred transaction could fail at once when upgrading its lock.
    Statement(db_, QStringLiteral("BEGIN IMMEDIATE")).step();
    std::int64_t changed = 0;
    try {
        {
            Statement st(db_, sql);
            st.bind(params);
            while (st.step()) {
            }
        }
        changed = sqlite3_changes64(db_);
        Statement(db_, QStringLiteral("COMMIT")).step();
    } catch (...) {
        if (sqlite3_get_autocommit(db_) == 0) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
        throw;
    }
    assert(openStatementCount() == 0);
    return changed;
}

bool Database::isReadOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

int Database::openStatementCount() const {
    int count = 0;
    for (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr); st != nullptr;
         st = sqlite3_next_stmt(db_, st)) {
        ++count;
    }
    return count;
}

std::unique_ptr<Database> Workspace::openDatabase(const QString& path,
                                                  const QString& requiredTable,
                                                  const QStringList& requiredColumns) const {
    if (path.isEmpty()) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("ファイル名が指定されていません。"));
    }
    // A directory or a missing path is refused here; SQLite is never asked to create anything.
    const QFileInfo info(path);
    if (!info.exists()) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    if (info.isDir()) {
        throw Error(SQLITE_CANTOPEN, QStringLiteral("フォルダはデータファイルではありません: %1").arg(path));
    }
    // A zero-length file would read as an empty database: refuse it before anything can write.
    if (info.size() == 0) {
        throw Error(SQLITE_NOTADB, QStringLiteral("ファイルが空です（データベースではありません）: %1").arg(path));
    }
    sqlite3* raw = nullptr;
    const QByteArray utf8 = path.toUtf8();
    const int rc = sqlite3_open_v2(utf8.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK) {
        db->fail(rc);
    }
    db->identity_ = identityOf(path);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, int(busyTimeout_.count()));
    installLike(raw);

    // Reading the schema makes the engine check the header: a non-database fails here.
    Statement(raw, QStringLiteral("PRAGMA schema_version")).step();

    // Shared files need the rollback journal: WAL relies on shared memory on one host.
    const QString mode = singleText(raw, QStringLiteral("PRAGMA journal_mode")).toLower();
    if (mode == QLatin1String("wal")) {
        const QString now = singleText(raw, QStringLiteral("PRAGMA journal_mode=DELETE")).toLower();
        if (now != QLatin1String("delete")) {
            throw Error(SQLITE_CANTOPEN,
                        QStringLiteral("データファイルが WAL モードのため共有できません: %1").arg(path));
        }
    }
    Statement(raw, QStringLiteral("PRAGMA synchronous=FULL")).step();
    Statement(raw, QStringLiteral("PRAGMA mmap_size=0")).step();

    // The expected table with every column the program reads: preparing a Select of them
    // fails when the table or a column is missing.
    Statement(raw, QStringLiteral("Select %1 From %2 Limit 0")
                       .arg(requiredColumns.join(u','), requiredTable))
        .step();
    return db;
}

}  // namespace store
