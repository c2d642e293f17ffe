#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

#include "store/error.h"
#include "store/file/connection.h"
#include "store/file/file_identity.h"
#include "store/recordset.h"

struct sqlite3;

namespace store {

namespace server {
class Connection;
}

// A value bound to a statement parameter. Values are never spliced into statement text.
using Param = std::variant<std::nullptr_t, std::int64_t, QString>;
using Params = std::vector<Param>;

// One open database file. Every statement runs and is finalised inside the call that runs it,
// so no lock on the (usually shared) file outlives an operation.
//
// Before each operation the database checks that its path still names the file it opened.
// When the file was removed, moved or put back from a backup, the old connection is closed
// (nothing is ever written through a handle to a file that is no longer at the path) and the
// path is opened again with every check of the first open, never creating a file: the
// operation goes on with the file found there, or fails with the open's error, and the next
// operation tries again.
//
// A location that is a database server's URI opens a connection to the server instead; the
// store's operations then send the server's statements (see server()).
class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    // How long a statement waits for another workstation's lock.
    std::chrono::milliseconds busyTimeout() const { return busyTimeout_; }

    // Runs a Select and reads its rows into memory. maxRows > 0 stops after that many rows:
    // a caller that only tests for a row reads one.
    Recordset openRecordset(const QString& sql, const Params& params = {},
                            std::int64_t maxRows = 0);

    // Runs one Insert, Update or Delete as BEGIN IMMEDIATE ... COMMIT and returns the number
    // of rows it changed. A valid statement that changes nothing is no error.
    std::int64_t execute(const QString& sql, const Params& params = {});

    // The statements of one write transaction, run on the file it holds locked.
    class Writer {
    public:
        Recordset read(const QString& sql, const Params& params = {});
        // Returns the number of rows the statement changed.
        std::int64_t execute(const QString& sql, const Params& params = {});

    private:
        friend class Database;
        explicit Writer(Database& db) : db_(db) {}
        Database& db_;
    };

    // Runs work in one write transaction (BEGIN IMMEDIATE ... COMMIT): its statements see and
    // change the file as nobody else does meanwhile. When another file took the path while the
    // lock was awaited (a file put back from a backup), work would write to the old file, which
    // nobody opens any more (the engine refuses such a write as one to a moved file): the
    // transaction is rolled back, the path opened again, and work runs once more, on the file
    // found there. work may therefore run twice; only the last run is kept.
    void writeTransaction(const std::function<void(Writer&)>& work);

    // The engine refused write access when the file was opened (file or folder read-only).
    bool isReadOnly() const;

    // Statements still prepared on the connection: always 0 between operations.
    int openStatementCount() const;

    // The current connection; null while the path names no usable data file, and for a server.
    sqlite3* handle() const { return db_.get(); }

    // For a server's data: the connection, reopened first when it was found lost; otherwise
    // null. Only the store's own operations use it.
    store::server::Connection* server();

private:
    friend class Workspace;
    Database(QString path, QString requiredTable, QStringList requiredColumns,
             std::chrono::milliseconds busyTimeout);

    // Opens the path with every check; on failure the database stays closed and throws.
    void open();
    void openChecked();
    void close();
    // Reopens the path when it no longer names the file that was opened.
    void followPath();
    Recordset read(const QString& sql, const Params& params, std::int64_t maxRows);
    std::int64_t run(const QString& sql, const Params& params);
    // Runs work in a write transaction on the open file; false, with nothing done, when the
    // path no longer names that file once its lock is held.
    bool writeOnOpenFile(const std::function<void(Writer&)>& work);
    void refuseReadOnly() const;
    [[noreturn]] void fail(int rc) const;

    file::Connection db_;
    QString path_;
    QString requiredTable_;
    QStringList requiredColumns_;
    std::optional<file::FileIdentity> identity_;
    std::chrono::milliseconds busyTimeout_;
    std::unique_ptr<store::server::Connection> server_;
};

// The engine's name and release, for the program's version text ("SQLite 3.45.1").
QString engineVersionText();

// Opens database files. The workspace never creates a file: a missing path is an error.
class Workspace {
public:
    // How long a statement waits for another workstation's lock before it fails.
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{10000};

    explicit Workspace(std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout)
        : busyTimeout_(busyTimeout) {}

    // Opens an existing database read-write and checks that it holds requiredTable with
    // requiredColumns, so a missing file, a file that is not a database, a file held
    // exclusively by another program and a file without the table all fail here.
    std::unique_ptr<Database> openDatabase(const QString& path, const QString& requiredTable,
                                           const QStringList& requiredColumns) const;

    std::chrono::milliseconds busyTimeout() const { return busyTimeout_; }

private:
    std::chrono::milliseconds busyTimeout_;
};

}  // namespace store
