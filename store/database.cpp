#include "store/database.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "store/file/file_problems.h"
#include "store/file/statement.h"
#include "store/location.h"
#include "store/memo_table.h"
#include "store/repeated_texts.h"
#include "store/server/connection.h"
#include "store/settings_table.h"
#include "store/transaction.h"
#include "store/utf8_text.h"

namespace store {

using namespace store::file;
namespace {

// The engine's conversion of a value to UTF-16.
QString convertedText(sqlite3_stmt* stmt, int column) {
    const void* data = sqlite3_column_text16(stmt, column);
    const int bytes = sqlite3_column_bytes16(stmt, column);
    if (data == nullptr) {
        return QStringLiteral("");
    }
    return QString(reinterpret_cast<const QChar*>(data), bytes / 2);
}

// A text value (data, bytes as the engine gives it in the file's encoding, UTF-8) as a
// string: decoded here straight into a string of the exact length, without the engine's
// intermediate UTF-16 copy; a text the decoder cannot promise to read exactly as the engine
// converts it goes through the engine's own conversion.
QString textValue(sqlite3_stmt* stmt, int column, const unsigned char* data, int bytes) {
    if (bytes == 0) {
        return QStringLiteral("");
    }
    bool ok = false;
    QString text = utf8::toQString(data, size_t(bytes), ok);
    return ok ? text : convertedText(stmt, column);
}

// Any value that is not null, as text.
QString columnText(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            // The engine's own text for a whole number.
            return QString::number(sqlite3_column_int64(stmt, column));
        case SQLITE_TEXT: {
            const unsigned char* data = sqlite3_column_text(stmt, column);
            if (data != nullptr) {
                return textValue(stmt, column, data, sqlite3_column_bytes(stmt, column));
            }
            break;
        }
        default:
            break;
    }
    return convertedText(stmt, column);
}

// Runs a pragma or a statement that returns at most one text value.
QString singleText(sqlite3* db, const QString& sql) {
    Statement st(db, sql);
    return st.step() ? columnText(st.get(), 0) : QString();
}

// Runs an operation; when another workstation's lock did not clear within the wait, the
// error says so beside the engine's own words ("database is locked").
template <class Operation>
auto namingTheWait(std::chrono::milliseconds timeout, Operation operation) {
    try {
        return operation();
    } catch (const Error& e) {
        if (e.primaryCode() != SQLITE_BUSY) {
            throw;
        }
        throw engineError(
            e.code(), QStringLiteral("%1（ほかの端末のロックが %2 ms 待っても解けませんでした）")
                          .arg(e.message(), QString::number(timeout.count())));
    }
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

Database::Database(QString path, QString requiredTable, QStringList requiredColumns,
                   std::chrono::milliseconds busyTimeout)
    : path_(std::move(path)),
      requiredTable_(std::move(requiredTable)),
      requiredColumns_(std::move(requiredColumns)),
      busyTimeout_(busyTimeout) {
    if (isServerLocation(path_)) {
        server_ = std::make_unique<store::server::Connection>(path_, busyTimeout_);
    }
}

store::server::Connection* Database::server() {
    if (server_) {
        server_->ensureConnected();
    }
    return server_.get();
}

namespace {

QString quotedName(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// A server's data: reachable, and holding the expected table with every column the program
// reads.
void checkServer(store::server::Connection& server, const QString& table,
                 const QStringList& columns) {
    server.connect();
    QStringList quoted;
    for (const QString& column : columns) {
        quoted << quotedName(column);
    }
    server.exec(
        QStringLiteral("SELECT %1 FROM %2 LIMIT 0").arg(quoted.join(u','), quotedName(table)));
}

// The statements a caller writes for the file's engine cannot go to a server.
[[noreturn]] void refuseOnServer(const QString& location) {
    throw Error::misuse(QStringLiteral("この操作はサーバー上のデータでは使えません: %1")
                            .arg(maskedLocation(location)));
}

}  // namespace

Database::~Database() {
    close();
}

void Database::close() {
    db_.reset();
    identity_.reset();
}

void Database::fail(int rc) const {
    throwEngineError(db_.get(), rc);
}

void Database::followPath() {
    if (db_ && identityOf(path_) == identity_) {
        return;
    }
    // The path names another file, or none: the old connection goes first, so that nothing
    // can reach the file that was opened before.
    close();
    open();
}

void Database::open() {
    if (server_) {
        checkServer(*server_, requiredTable_, requiredColumns_);
        return;
    }
    try {
        namingTheWait(busyTimeout_, [this] { openChecked(); });
    } catch (...) {
        close();
        throw;
    }
}

void Database::openChecked() {
    checkOpenable(path_);
    const std::optional<FileIdentity> before = identityOf(path_);
    try {
        db_ = Connection::open(path_, Connection::Mode::Existing, busyTimeout_);
    } catch (const Error& e) {
        throw explained(e, path_, false);
    }
    // A file put in place while the engine opened the path may not be the one it opened.
    identity_ = identityOf(path_);
    if (!identity_ || identity_ != before) {
        throw engineError(
            SQLITE_CANTOPEN,
            QStringLiteral("データファイルが開く間に置き換えられました: %1").arg(path_));
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
                QStringLiteral("データファイルが WAL モードのため共有できません: %1").arg(path_));
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
        throw notTheFileWanted(db_.get(), path_, requiredTable_, e);
    }
}

Recordset Database::openRecordset(const QString& sql, const Params& params, std::int64_t maxRows) {
    if (server_) {
        refuseOnServer(path_);
    }
    followPath();
    return namingTheWait(busyTimeout_, [&] { return read(sql, params, maxRows); });
}

Recordset Database::read(const QString& sql, const Params& params, std::int64_t maxRows) {
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
                const int type = sqlite3_column_type(stmt, i);
                if (type == SQLITE_NULL) {
                    cells.emplace_back();
                    continue;
                }
                const unsigned char* data = nullptr;
                if (type == SQLITE_TEXT && (data = sqlite3_column_text(stmt, i)) != nullptr) {
                    const int bytes = sqlite3_column_bytes(stmt, i);
                    cells.emplace_back(repeated[size_t(i)].get(
                        std::string_view(reinterpret_cast<const char*>(data), size_t(bytes)),
                        [&] { return textValue(stmt, i, data, bytes); }));
                } else {
                    cells.emplace_back(columnText(stmt, i));
                }
            }
            ++rows;
        }
    }
    assert(openStatementCount() == 0);
    return Recordset(std::move(columns), std::move(cells));
}

std::int64_t Database::execute(const QString& sql, const Params& params) {
    std::int64_t changed = 0;
    writeTransaction([&](Writer& writer) { changed = writer.execute(sql, params); });
    return changed;
}

void Database::refuseReadOnly() const {
    if (isReadOnly()) {
        throw fileProblem(path_, true)
            .value_or(engineError(
                SQLITE_READONLY,
                QStringLiteral("データファイルに書き込めません（読み取り専用で開かれています）: %1")
                    .arg(path_)));
    }
}

void Database::writeTransaction(const std::function<void(Writer&)>& work) {
    if (server_) {
        refuseOnServer(path_);
    }
    followPath();
    refuseReadOnly();
    const auto attempt = [&] {
        try {
            return writeOnOpenFile(work);
        } catch (const Error& e) {
            // The engine says little more than "unable to open database file" when it cannot
            // make its journal beside the file.
            if (e.kind() == Error::Kind::Missing || e.kind() == Error::Kind::ReadOnly) {
                throw explained(e, path_, true);
            }
            throw;
        }
    };
    if (namingTheWait(busyTimeout_, attempt)) {
        return;
    }
    // Another file took the path while this one's lock was awaited: the write goes to the
    // file there, checked as at every open.
    close();
    open();
    refuseReadOnly();
    if (!namingTheWait(busyTimeout_, attempt)) {
        throw engineError(
            SQLITE_BUSY,
            QStringLiteral("データファイルが書き込みの間に続けて置き換えられました: %1")
                .arg(path_));
    }
}

bool Database::writeOnOpenFile(const std::function<void(Writer&)>& work) {
    {
        // BEGIN IMMEDIATE takes the write lock at once, waiting up to the busy timeout for
        // other workstations; a deferred transaction could fail at once when upgrading its lock.
        Transaction transaction(db_.get(), Transaction::Kind::Write);
        // The lock is on the file opened: the path must still name it, or whatever is written
        // now would go to a file that nobody opens any more.
        if (identityOf(path_) != identity_) {
            return false;  // rolled back as the transaction goes
        }
        Writer writer(*this);
        work(writer);
        transaction.commit();
    }
    assert(openStatementCount() == 0);
    return true;
}

Recordset Database::Writer::read(const QString& sql, const Params& params) {
    return db_.read(sql, params, 0);
}

std::int64_t Database::Writer::execute(const QString& sql, const Params& params) {
    return db_.run(sql, params);
}

std::int64_t Database::run(const QString& sql, const Params& params) {
    {
        Statement st(db_.get(), sql);
        st.bind(params);
        while (st.step()) {
        }
    }
    return sqlite3_changes64(db_.get());
}

bool Database::isReadOnly() const {
    if (server_) {
        return false;  // the server says so at the first write
    }
    return db_ && sqlite3_db_readonly(db_.get(), "main") == 1;
}

int Database::openStatementCount() const {
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

QString engineVersionText() {
    return QStringLiteral("SQLite %1").arg(QString::fromLatin1(sqlite3_libversion()));
}

std::unique_ptr<Database> Workspace::openDatabase(const QString& path, const QString& requiredTable,
                                                  const QStringList& requiredColumns) const {
    std::unique_ptr<Database> db(new Database(path, requiredTable, requiredColumns, busyTimeout_));
    db->open();
    return db;
}

}  // namespace store
