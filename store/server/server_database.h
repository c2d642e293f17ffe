#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

#include "store/database.h"
#include "store/server/connection.h"

// A database server: the office's messages in PostgreSQL, reached through libpq from a
// connection URI.
namespace store::server {

// Whether the server's database holds the table (one of the program's, named without quotes).
bool hasTableNamed(Connection& server, const QString& table);
// Whether MEMO_T has the column.
bool hasMemoColumn(Connection& server, const QString& column);
// Adds what later releases added and the data lacks (STAFF_T, FORWARD_T, MEMO_T's added
// columns); true when something was added.
bool addLaterParts(Connection& server);

// The message table MEMO_T on a server, its names and columns as in a data file. The office's
// Like is applied by likeMatch itself; the server only narrows the candidates through its
// indexes. Each operation outside a transaction is one statement (or one short transaction of
// its own); a read standing alone that finds the connection lost is repeated once on a new
// connection, a write never is.
class ServerDatabase final : public Database {
public:
    ServerDatabase(QString uri, QString requiredTable, QStringList requiredColumns,
                   std::chrono::milliseconds busyTimeout);
    ~ServerDatabase() override;

    const Capabilities& capabilities() const override { return capabilities_; }
    int openStatementCount() const override { return 0; }
    // A listener on a connection of its own (ArrivalListener).
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
    bool reopenAfterLostRead() override;

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
    // The connection for an operation: outside a transaction it is opened again first when it
    // was found lost, or the server closed it while it was idle (a restart), before anything
    // is sent, so that nothing is repeated.
    Connection& connection();
    // A read: inside the open transaction once, standing alone repeated once on a new
    // connection when the old one was found lost on the way (store::reading).
    template <class Read>
    auto reading(Read read) {
        if (kind_) {
            return read();
        }
        connection();
        return store::reading(*this, read);
    }
    // Rows of a Select narrowed by the column's index whose column holds a name beginning
    // with prefix by the office's Like.
    Listing matching(const QString& sql, const TextParams& params, NameColumn column,
                     const NamePrefix& prefix);

    // What the table holds of the additions, asked afresh by each operation that reads or
    // writes them (one look at the catalog), so that an upgrade while workstations run is seen
    // at once.
    Additions present();

    Connection conn_;
    Capabilities capabilities_;
    QString requiredTable_;
    QStringList requiredColumns_;
    std::optional<Transaction::Kind> kind_;
};

}  // namespace store::server
