#include "store/file/file_database.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <cassert>
#include <vector>

#include "store/file/engine_error.h"
#include "store/file/file_problems.h"
#include "store/file/page_copy.h"
#include "store/file/statement.h"
#include "store/file/values.h"
#include "store/tables.h"

namespace store::file {
namespace {

// Runs a pragma or a statement that returns at most one text value.
QString singleText(sqlite3* db, const QString& sql) {
    Statement st(db, sql);
    return st.step() ? columnText(st.get(), 0) : QString();
}

const QString kWaitNote = QStringLiteral("（ほかの端末のロックが %1 ms 待っても解けませんでした）");

// The failure of an operation whose lock did not clear within the wait, saying so beside the
// engine's own words ("database is locked").
Error namingTheWait(const Error& e, std::chrono::milliseconds timeout) {
    if (e.primaryCode() != SQLITE_BUSY) {
        return e;
    }
    return engineError(e.code(), e.message() + kWaitNote.arg(QString::number(timeout.count())));
}

// Refuses a path that cannot be a data file before the engine sees it: the engine would
// create a missing file, and read a zero-length one as an empty database. Each cause is told
// apart (a missing file, a folder or file this user may not use, a folder).
void checkOpenable(const QString& path) {
    if (path.isEmpty()) {
        throw engineError(SQLITE_CANTOPEN, QStringLiteral("ファイル名が指定されていません。"));
    }
    if (std::optional<Error> problem = fileProblem(path, false)) {
        throw *problem;
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        throw Error(Error::Kind::NotADataFile,
                    QStringLiteral("フォルダはデータファイルではありません: %1").arg(path),
                    QString::number(SQLITE_CANTOPEN));
    }
    if (info.size() == 0) {
        throw engineError(
            SQLITE_NOTADB,
            QStringLiteral("ファイルが空です（データベースではありません）: %1").arg(path));
    }
}

// Whether the connection's file holds a table of that name.
bool holdsTable(sqlite3* db, const QString& table) {
    Statement st(db,
                 QStringLiteral("Select 1 From sqlite_master Where type = 'table' And name = ?"));
    st.bind({table});
    return st.step();
}

// Why a database file without the expected table is not the file wanted: most often the other
// of the program's two files given in its place.
Error notTheFileWanted(sqlite3* db, const QString& path, const QString& table,
                       const Error& engine) {
    const QString code = QString::number(engine.code());
    const QString data = memo::tableName();
    const QString settings = settings::tableName();
    if (table == data && holdsTable(db, settings)) {
        return Error(Error::Kind::NotADataFile,
                     QStringLiteral("設定ファイルです。データファイルではありません: %1").arg(path),
                     code);
    }
    if (table == settings && holdsTable(db, data)) {
        return Error(Error::Kind::NotADataFile,
                     QStringLiteral("データファイルです。設定ファイルではありません: %1").arg(path),
                     code);
    }
    if (!holdsTable(db, table)) {
        return Error(Error::Kind::NotADataFile,
                     QStringLiteral("%1 がありません（%2）: %3").arg(table, engine.message(), path),
                     code);
    }
    return Error(Error::Kind::NotADataFile,
                 QStringLiteral("%1 の列が足りません（%2）: %3").arg(table, engine.message(), path),
                 code);
}

}  // namespace

FileDatabase::FileDatabase(QString path, QString requiredTable, QStringList requiredColumns,
                           std::chrono::milliseconds busyTimeout)
    : Database(std::move(path), busyTimeout),
      requiredTable_(std::move(requiredTable)),
      requiredColumns_(std::move(requiredColumns)) {}

FileDatabase::~FileDatabase() {
    rollback();
    close();
}

const Capabilities& FileDatabase::capabilities() const {
    static const Capabilities can{true, {}, {}, true};
    return can;
}

void FileDatabase::close() {
    db_.reset();
    identity_.reset();
    nameIndexes_.reset();
}

void FileDatabase::followPath() {
    if (db_ && identityOf(path()) == identity_) {
        return;
    }
    // The path names another file, or none: the old connection goes first, so that nothing
    // can reach the file that was opened before.
    close();
    open();
}

void FileDatabase::open() {
    try {
        try {
            openChecked();
        } catch (const Error& e) {
            throw namingTheWait(e, busyTimeout());
        }
    } catch (...) {
        close();
        throw;
    }
}

void FileDatabase::openChecked() {
    close();
    checkOpenable(path());
    const std::optional<FileIdentity> before = identityOf(path());
    try {
        db_ = Connection::open(path(), Connection::Mode::Existing, busyTimeout());
    } catch (const Error& e) {
        throw explained(e, path(), false);
    }
    // A file put in place while the engine opened the path may not be the one it opened.
    identity_ = identityOf(path());
    if (!identity_ || identity_ != before) {
        throw engineError(
            SQLITE_CANTOPEN,
            QStringLiteral("データファイルが開く間に置き換えられました: %1").arg(path()));
    }

    // Reading the schema makes the engine check the header: a non-database fails here.
    Statement(db_.get(), QStringLiteral("PRAGMA schema_version")).step();

    // Shared files need the rollback journal: WAL relies on shared memory on one host.
    const QString mode = singleText(db_.get(), QStringLiteral("PRAGMA journal_mode")).toLower();
    if (mode == QLatin1String("wal")) {
        const QString now =
            singleText(db_.get(), QStringLiteral("PRAGMA journal_mode=DELETE")).toLower();
        if (now != QLatin1String("delete")) {
            throw engineError(
                SQLITE_CANTOPEN,
                QStringLiteral("データファイルが WAL モードのため共有できません: %1").arg(path()));
        }
    }
    Statement(db_.get(), QStringLiteral("PRAGMA synchronous=FULL")).step();
    Statement(db_.get(), QStringLiteral("PRAGMA mmap_size=0")).step();

    // The expected table with every column the program reads: preparing a Select of them
    // fails when the table or a column is missing.
    try {
        Statement(db_.get(), QStringLiteral("Select %1 From %2 Limit 0")
                                 .arg(requiredColumns_.join(u','), requiredTable_))
            .step();
    } catch (const Error& e) {
        if (e.primaryCode() != SQLITE_ERROR) {
            throw;
        }
        throw notTheFileWanted(db_.get(), path(), requiredTable_, e);
    }
}

Error FileDatabase::described(const Error& failure, bool forWriting) const {
    // The engine says little more than "unable to open database file" when it cannot make its
    // journal beside the file.
    if (forWriting &&
        (failure.kind() == Error::Kind::Missing || failure.kind() == Error::Kind::ReadOnly)) {
        return explained(failure, path(), true);
    }
    return namingTheWait(failure, busyTimeout());
}

void FileDatabase::described(bool forWriting, const std::function<void()>& work) const {
    try {
        work();
    } catch (const Error& e) {
        throw described(e, forWriting);
    }
}

void FileDatabase::refuseReadOnly() const {
    if (isReadOnly()) {
        throw fileProblem(path(), true)
            .value_or(engineError(
                SQLITE_READONLY,
                QStringLiteral("データファイルに書き込めません（読み取り専用で開かれています）: %1")
                    .arg(path())));
    }
}

bool FileDatabase::isReadOnly() const {
    return db_ && sqlite3_db_readonly(db_.get(), "main") == 1;
}

int FileDatabase::openStatementCount() const {
    int count = 0;
    if (!db_) {
        return 0;
    }
    for (sqlite3_stmt* st = sqlite3_next_stmt(db_.get(), nullptr); st != nullptr;
         st = sqlite3_next_stmt(db_.get(), st)) {
        ++count;
    }
    return count;
}

// ---- Transactions

void FileDatabase::begin(Transaction::Kind kind) {
    if (kind_) {
        throw Error::misuse(QStringLiteral("トランザクションが既に開いています: %1").arg(path()));
    }
    followPath();
    if (kind == Transaction::Kind::Read) {
        described(false, [&] { db_.begin(kind); });
        kind_ = kind;
        return;
    }
    refuseReadOnly();
    bool begun = false;
    described(true, [&] { begun = beginOnOpenFile(kind); });
    if (!begun) {
        // Another file took the path while this one's lock was awaited: the transaction goes
        // to the file there, checked as at every open.
        close();
        open();
        refuseReadOnly();
        described(true, [&] { begun = beginOnOpenFile(kind); });
        if (!begun) {
            throw engineError(
                SQLITE_BUSY,
                QStringLiteral("データファイルが書き込みの間に続けて置き換えられました: %1")
                    .arg(path()));
        }
    }
    kind_ = kind;
}

bool FileDatabase::beginOnOpenFile(Transaction::Kind kind) {
    // BEGIN IMMEDIATE takes the write lock at once, waiting up to the busy timeout for other
    // workstations; a deferred transaction could fail at once when upgrading its lock.
    db_.begin(kind);
    // The lock is on the file opened: the path must still name it, or whatever is written now
    // would go to a file that nobody opens any more.
    if (identityOf(path()) != identity_) {
        db_.rollback();
        return false;
    }
    return true;
}

void FileDatabase::commit() {
    described(inWrite(), [&] { db_.commit(); });
    kind_.reset();
    assert(openStatementCount() == 0);
}

void FileDatabase::rollback() noexcept {
    db_.rollback();
    kind_.reset();
}

// ---- Running statements

void FileDatabase::reading(const std::function<void()>& read) {
    if (!kind_) {
        followPath();
    }
    described(inWrite(), read);
    assert(openStatementCount() == 0);
}

void FileDatabase::writing(const std::function<void()>& write) {
    if (kind_) {
        described(inWrite(), write);
        return;
    }
    Transaction transaction(*this, Transaction::Kind::Write);
    described(true, write);
    transaction.commit();
}

Recordset FileDatabase::read(const QString& sql, const Params& params, std::int64_t maxRows) {
    Recordset::Cells cells;
    QStringList columns;
    {
        Statement st(db_.get(), sql);
        st.bind(params);
        sqlite3_stmt* const stmt = st.get();
        const int n = sqlite3_column_count(stmt);
        columns.reserve(n);
        for (int i = 0; i < n; ++i) {
            columns << QString(reinterpret_cast<const QChar*>(sqlite3_column_name16(stmt, i)));
        }
        std::vector<RepeatedTexts> repeated(size_t(n > 0 ? n : 0));
        std::int64_t rows = 0;
        while ((maxRows <= 0 || rows < maxRows) && st.step()) {
            for (int i = 0; i < n; ++i) {
                const QString text = sharedText(stmt, i, repeated[size_t(i)]);
                if (text.isNull()) {
                    cells.emplace_back();
                } else {
                    cells.emplace_back(text);
                }
            }
            ++rows;
        }
    }
    return Recordset(std::move(columns), std::move(cells));
}

std::int64_t FileDatabase::run(const QString& sql, const Params& params) {
    {
        Statement st(db_.get(), sql);
        st.bind(params);
        while (st.step()) {
        }
    }
    return sqlite3_changes64(db_.get());
}

Recordset FileDatabase::openRecordset(const QString& sql, const Params& params,
                                      std::int64_t maxRows) {
    Recordset rs;
    reading([&] { rs = read(sql, params, maxRows); });
    return rs;
}

std::int64_t FileDatabase::execute(const QString& sql, const Params& params) {
    std::int64_t changed = 0;
    writing([&] { changed = run(sql, params); });
    return changed;
}

// ---- Copies of the whole

void FileDatabase::backUp(const QString& copyPath, const ProgressOf& progress) {
    followPath();
    copyPages(db_.get(), path(), copyPath, busyTimeout(), progress);
}

QString engineVersionText() {
    return QStringLiteral("SQLite %1").arg(QString::fromLatin1(sqlite3_libversion()));
}

}  // namespace store::file
