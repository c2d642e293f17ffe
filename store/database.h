#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "store/error.h"
#include "store/message.h"
#include "store/restore_outcome.h"
#include "store/staff.h"
#include "store/transaction.h"
#include "store/workspace.h"

namespace store {

// What an engine can do, asked before relying on it.
struct Capabilities {
    // Copies itself page by page while workstations go on using it (dulvane-admin backup), and
    // is put back from such a copy (restore). Without it, the advice says how the engine's own
    // tools save and put back its data instead.
    bool onlineBackup = false;
    QString backupAdvice;
    QString restoreAdvice;
    // Keeps a text holding a NUL character (U+0000) whole; without it such a text is refused
    // (Error::Kind::TextRefused), never stored cut short.
    bool textsWithNul = true;
    // Tells the workstations at once of each message sent (watchArrivals), so that the watch
    // need not wait for its next tick. Without it only the ticks find new messages.
    bool arrivalNotices = false;
};

// A message just sent, as another workstation hears of it.
struct Arrival {
    // The name it is addressed to; none when the engine could not say (too long to pass on),
    // and then any workstation may be the addressee.
    std::optional<QString> addressee;
};

// Listening for the messages other workstations send (Database::watchArrivals): heard while it
// lives, on the thread that made it, through that thread's event loop. A listening that is
// lost (the server restarted, the connection ended) starts again of its own; what was sent
// meanwhile is not heard, so the ticks stay the rule and this only makes a notice come sooner.
class ArrivalWatch {
public:
    virtual ~ArrivalWatch() = default;
    ArrivalWatch() = default;
    ArrivalWatch(const ArrivalWatch&) = delete;
    ArrivalWatch& operator=(const ArrivalWatch&) = delete;

    // Whether it listens now.
    virtual bool listening() const = 0;
};
using ArrivalHeard = std::function<void(const Arrival&)>;

// The relay's place in the messages (FORWARD_T): every message up to examined is done; the
// message numbered trying had its mail refused attempts times so far.
struct ForwardMark {
    std::int64_t examined = 0;
    std::int64_t trying = 0;
    std::int64_t attempts = 0;
};

// A message the relay looks at: its texts, whether its mail was accepted (転送日時), and whether
// it is urgent (MEMO_T.至急 = 1, where the data has that column).
struct ForwardCandidate {
    std::int64_t no = 0;
    MessageTexts texts;
    bool forwarded = false;
    bool urgent = false;
};

// progress(done) now and then; progress(done, total) where the total is known.
using Progress = std::function<void(std::int64_t)>;
using ProgressOf = std::function<void(std::int64_t, std::int64_t)>;

// The office's messages in one engine: a data file (store/file) or a database server
// (store/server), made by Workspace from the location. These are the engine's primitives; the
// office's rules are written once above them (store::memo, store::maintenance, store::schema).
//
// Each operation runs inside the transaction open on the database (store::Transaction), or,
// with none open, stands alone: a read sees one moment, a write is kept whole or not at all.
// Nothing stays open after an operation returns: no statement, no lock outside a transaction.
// Every failure is a store::Error.
class Database : public Transactional {
public:
    ~Database() override = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The location: the data file's path or the server's URI (a password in it shown only
    // through maskedLocation).
    const QString& path() const { return location_; }
    // How long an operation waits for another workstation's lock.
    std::chrono::milliseconds busyTimeout() const { return busyTimeout_; }

    virtual const Capabilities& capabilities() const = 0;
    // Statements (or results) still held by the engine: always 0 between operations.
    virtual int openStatementCount() const = 0;

    // Starts listening for messages sent from now on (capabilities().arrivalNotices); heard
    // calls back on the calling thread, which must run an event loop. Null without the
    // capability. The listening is the watch's own: it never touches the connection the
    // operations below use, so it may be made and kept on another thread than theirs.
    virtual std::unique_ptr<ArrivalWatch> watchArrivals(ArrivalHeard heard) = 0;

    // ---- The table

    // Opens the location and checks that it holds the table with every column given when the
    // database was made: a missing file, a file that is not a database, a file held exclusively
    // by another program, a server that cannot be reached and data without the table all fail
    // here. The operations below open the location themselves when it is not open.
    virtual void open() = 0;
    // Makes the message table with its indexes: a new data file at the path (an existing file is
    // refused, never overwritten), or the table on the server (refused when it exists).
    virtual void createTable() = 0;
    // Whether the data is there: a file at the path, or the table on the server.
    virtual bool dataExists() = 0;
    // Adds what data made by an earlier release lacks (indexes, settings of the table); changes
    // nothing else. Returns true when something was added.
    virtual bool upgradeTable() = 0;
    // The problems found with the data: is it a database, does it hold the table and every
    // column, is it sound, are the added columns and tables that are there of their types
    // (missing ones are no problem: data made by an earlier release). Empty when it is sound;
    // never throws.
    virtual QStringList checkTable() = 0;
    // Which of the columns and tables later releases added the data holds (memo::kAddedColumns,
    // store::AddedTable). createTable makes them all, upgradeTable adds the missing ones.
    virtual Additions additions() = 0;

    // ---- Transactions (through store::Transaction)

    // After a read that failed: whether the engine found its connection lost on the way (a
    // server that went away or restarted) and opened it again, so that the read may run once
    // more (see store::reading).
    virtual bool reopenAfterLostRead() = 0;

    // ---- Reads

    // The distinct values of a name column in the byte order of their texts, Nulls left out.
    virtual QStringList distinctNames(NameColumn column) = 0;
    // Whether any message is there.
    virtual bool anyMessage() = 0;
    // The messages whose name column holds a name beginning with prefix (the office's Like),
    // newest first.
    virtual Listing listing(NameColumn column, const NamePrefix& prefix) = 0;
    // Whether an unread message (既読 Null) is addressed to a name beginning with prefix.
    virtual bool anyUnread(const NamePrefix& addressee) = 0;
    // How many unread messages are addressed to a name beginning with prefix, and the newest.
    virtual Unread unread(const NamePrefix& addressee) = 0;
    // The message numbered no, none when no message holds it. Inside a write transaction the
    // message stays as read until the end.
    virtual std::optional<MessageTexts> message(std::int64_t no) = 0;
    // The office's ready phrases (PHRASE_T) by 順番, then ＮＯ. Fails when the table is not
    // there.
    virtual std::vector<Phrase> phrases() = 0;
    // Every message in ＮＯ order, read in one statement: one picture while others write.
    virtual std::vector<StoredMessage> everyMessage() = 0;
    // The highest number ever handed out: deleted messages, and numbers a copy or an import
    // kept, included (0 when none ever was).
    virtual std::int64_t highestEverNumbered() = 0;
    // Which of the numbers a message holds now.
    virtual std::vector<std::int64_t> numbersHeld(const std::vector<std::int64_t>& among) = 0;
    // Read messages (既読 not Null) received before dateText ("YYYY/MM/DD"); received times
    // that are not a date-time text are never taken for old ones.
    virtual std::int64_t countReadBefore(const QString& dateText) = 0;
    // The summary's counts.
    virtual Summary summary() = 0;

    // ---- Writes

    // Sets 既読 to dateText on the unread messages addressed to a name beginning with prefix and
    // numbered up to upTo. Returns how many.
    virtual std::int64_t markRead(const NamePrefix& addressee, std::int64_t upTo,
                                  const QString& dateText) = 0;
    // Adds one message with every text given; the engine numbers it. An added column the
    // data lacks is left out when its value is Null; a value for it is refused
    // (Error::Kind::Other), never dropped.
    virtual void insertMessage(const MessageTexts& texts, const AddedTexts& added) = 0;
    // Sets the added column of the message numbered no to value (nullopt: Null); none holding
    // the number is no error. Fails when the data lacks the column.
    virtual void setAdded(std::int64_t no, memo::Added column,
                          const std::optional<QString>& value) = 0;
    // Deletes the message numbered no; none holding it is no error.
    virtual void deleteMessage(std::int64_t no) = 0;
    // Adds the messages in order: a message with a number keeps it, one without takes the next
    // one; added columns as insertMessage. Numbering goes on after the highest number held.
    // Returns how many.
    virtual std::int64_t addMessages(const std::vector<StoredMessage>& messages,
                                     const Progress& progress) = 0;
    // Moves the numbering on so that the next number handed out is above n (n > 0).
    virtual void numberAfter(std::int64_t n) = 0;
    // Removes what countReadBefore counts; returns how many went.
    virtual std::int64_t removeReadBefore(const QString& dateText) = 0;
    // Adds a phrase at order; removes the phrase numbered no (none is no error); sets the order
    // of the phrase numbered no. Each fails when the table is not there.
    virtual void insertPhrase(const QString& text, std::int64_t order) = 0;
    virtual void deletePhrase(std::int64_t no) = 0;
    virtual void setPhraseOrder(std::int64_t no, std::int64_t order) = 0;

    // ---- The staff directory (STAFF_T); data without the table reads as an empty directory

    virtual std::vector<StaffMember> staffMembers() = 0;
    // Fail with Error::Kind::Other when the data has no directory (upgrade makes it); insert
    // fails when the name is held already (the table keeps names unique).
    virtual void insertStaffMember(const StaffMember& member) = 0;
    virtual bool updateStaffMember(const QString& name, const StaffMember& member) = 0;
    virtual bool deleteStaffMember(const QString& name) = 0;

    // ---- The relay's own table (FORWARD_T) and MEMO_T.転送日時

    // Whether MEMO_T has the column (one added by a later release: memo::kAddedColumns,
    // memo::kRelayColumns).
    virtual bool hasColumn(const QString& column) = 0;
    // The relay's mark; nullopt when the data holds none yet.
    virtual std::optional<ForwardMark> forwardMark() = 0;
    // Sets the mark, making the relay's table (and MEMO_T.転送日時) first where missing.
    virtual void setForwardMark(const ForwardMark& mark) = 0;
    // Up to limit messages numbered above no, in ＮＯ order.
    virtual std::vector<ForwardCandidate> messagesAbove(std::int64_t no, int limit) = 0;
    // Sets 転送日時 of the message numbered no.
    virtual void setForwardedAt(std::int64_t no, const QString& when) = 0;

    // ---- Copies of the whole (when capabilities().onlineBackup)

    // Copies the data page by page into copyPath, an empty file the caller made, while others
    // go on using it. progress counts pages.
    virtual void backUp(const QString& copyPath, const ProgressOf& progress) = 0;
    // Puts the copy at backupPath back in this data's place (see RestoreOutcome).
    virtual RestoreOutcome restoreFrom(const QString& backupPath, bool replaceUnreadable,
                                       const ProgressOf& progress) = 0;

protected:
    Database(QString location, std::chrono::milliseconds busyTimeout)
        : location_(std::move(location)), busyTimeout_(busyTimeout) {}

private:
    QString location_;
    std::chrono::milliseconds busyTimeout_;
};

// Runs read (reads standing alone, or a transaction of kind Read); when it failed because the
// engine found its connection lost on the way and opened it again, runs it once more. Never for
// writes: a write whose answer was lost may have been done.
template <class Read>
auto reading(Database& db, Read read) {
    try {
        return read();
    } catch (...) {
        if (!db.reopenAfterLostRead()) {
            throw;
        }
    }
    return read();
}

}  // namespace store
