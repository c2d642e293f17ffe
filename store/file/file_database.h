#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

#include "store/database.h"
#include "store/file/connection.h"
#include "store/file/file_identity.h"
#include "store/file/recordset.h"
#include "store/params.h"

struct sqlite3;

// The data file: the office's messages in one SQLite file that every workstation opens, as a
// rule on a network share.
namespace store::file {

// One database file. Every statement runs and is finalised inside the call that runs it, so no
// lock on the (usually shared) file outlives an operation.
//
// Before each operation outside a transaction, and as a transaction begins, the database checks
// that its path still names the file it opened. When the file was removed, moved or put back
// from a backup, the old connection is closed (nothing is ever written through a handle to a
// file that is no longer at the path) and the path is opened again with every check of the
// first open, never creating a file: the operation goes on with the file found there, or fails
// with the open's error, and the next operation tries again. A write transaction checks again
// once it holds the write lock: when another file took the path while the lock was awaited (a
// file put back from a backup), the lock is given up and taken on the file found there.
class FileDatabase final : public Database {
public:
    FileDatabase(QString path, QString requiredTable, QStringList requiredColumns,
                 std::chrono::milliseconds busyTimeout);
    ~FileDatabase() override;

    // ---- The file's own statements: the settings table, and tests about data files

    // Runs a Select and reads its rows into memory. maxRows > 0 stops after that many rows.
    Recordset openRecordset(const QString& sql, const Params& params = {},
                            std::int64_t maxRows = 0);
    // Runs one Insert, Update or Delete (in a write transaction of its own, BEGIN IMMEDIATE ...
    // COMMIT, when none is open) and returns the number of rows it changed. A valid statement
    // that changes nothing is no error.
    std::int64_t execute(const QString& sql, const Params& params = {});
    // The engine refused write access when the file was opened (file or folder read-only).
    bool isReadOnly() const;
    // The current connection; null while the path names no usable data file.
    sqlite3* handle() const { return db_.get(); }

    // ---- Database

    const Capabilities& capabilities() const override;
    int openStatementCount() const override;
    std::unique_ptr<ArrivalWatch> watchArrivals(ArrivalHeard heard) override;

    void open() override;
    void createTable() override;
    bool dataExists() override;
    bool upgradeTable() override;
    QStringList checkTable() override;
    Additions additions() override;

    void begin(Transaction::Kind kind) override;
    void commit() override;
    void rollback() noexcept override;
    bool reopenAfterLostRead() override { return false; }

    QStringList distinctNames(NameColumn column) override;
    bool anyMessage() override;
    Listing listing(NameColumn column, const NamePrefix& prefix) override;
    bool anyUnread(const NamePrefix& addressee) override;
    Unread unread(const NamePrefix& addressee) override;
    std::optional<MessageTexts> message(std::int64_t no) override;
    std::vector<Phrase> phrases() override;
    std::vector<StoredMessage> everyMessage() override;
    std::int64_t highestEverNumbered() override;
    std::vector<std::int64_t> numbersHeld(const std::vector<std::int64_t>& among) override;
    std::int64_t countReadBefore(const QString& dateText) override;
    Summary summary() override;

    std::int64_t markRead(const NamePrefix& addressee, std::int64_t upTo,
                          const QString& dateText) override;
    void insertMessage(const MessageTexts& texts, const AddedTexts& added) override;
    void setAdded(std::int64_t no, memo::Added column,
                  const std::optional<QString>& value) override;
    void deleteMessage(std::int64_t no) override;
    std::int64_t addMessages(const std::vector<StoredMessage>& messages,
                             const Progress& progress) override;
    void numberAfter(std::int64_t n) override;
    std::int64_t removeReadBefore(const QString& dateText) override;
    void insertPhrase(const QString& text, std::int64_t order) override;
    void deletePhrase(std::int64_t no) override;
    void setPhraseOrder(std::int64_t no, std::int64_t order) override;

    std::vector<StaffMember> staffMembers() override;
    void insertStaffMember(const StaffMember& member) override;
    bool updateStaffMember(const QString& name, const StaffMember& member) override;
    bool deleteStaffMember(const QString& name) override;

    bool hasColumn(const QString& column) override;
    std::optional<ForwardMark> forwardMark() override;
    void setForwardMark(const ForwardMark& mark) override;
    std::vector<ForwardCandidate> messagesAbove(std::int64_t no, int limit) override;
    void setForwardedAt(std::int64_t no, const QString& when) override;

    void backUp(const QString& copyPath, const ProgressOf& progress) override;
    RestoreOutcome restoreFrom(const QString& backupPath, bool replaceUnreadable,
                               const ProgressOf& progress) override;

private:
    // Runs a read: outside a transaction on the file the path names now.
    void reading(const std::function<void()>& read);
    // Runs a write: inside the open transaction, or in a write transaction of its own.
    void writing(const std::function<void()>& write);
    // Runs work on the open connection, its failures told as the file's (see described).
    void described(bool forWriting, const std::function<void()>& work) const;
    // A failure of the engine, told more exactly: a write that cannot make its journal, a lock
    // that did not clear within the wait.
    Error described(const Error& failure, bool forWriting) const;

    // Opens the path with every check; on failure the database stays closed and throws.
    void openChecked();
    void close();
    // Reopens the path when it no longer names the file that was opened.
    void followPath();
    void refuseReadOnly() const;
    // BEGIN IMMEDIATE or EXCLUSIVE on the open file; false, with nothing begun, when the path
    // no longer names that file once its lock is held.
    bool beginOnOpenFile(Transaction::Kind kind);
    bool inWrite() const { return kind_ && *kind_ != Transaction::Kind::Read; }
    // What the open file holds of the additions, read afresh by each operation that reads or
    // writes them (a few reads of the schema the engine keeps in memory), so that an upgrade
    // while workstations run is seen at once.
    Additions present();

    Recordset read(const QString& sql, const Params& params, std::int64_t maxRows);
    std::int64_t run(const QString& sql, const Params& params);

    Connection db_;
    QString requiredTable_;
    QStringList requiredColumns_;
    std::optional<FileIdentity> identity_;
    std::optional<Transaction::Kind> kind_;
    // Whether the open file has the indexes the pick lists step through.
    std::optional<bool> nameIndexes_;
};

// The engine's name and release ("SQLite 3.45.1").
QString engineVersionText();

}  // namespace store::file
