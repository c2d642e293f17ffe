#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "store/database.h"
#include "store/message.h"
#include "store/tables.h"

// The main window's work on the message table MEMO_T: the office's rules, the same on every
// engine.
namespace store::memo {

using store::ListedRow;
using store::Listing;
using store::NewMessage;

// The entry's three pick lists: the distinct values of each name column in the byte order of
// their texts, Nulls left out. A list is nullopt when the table holds no message at all: the
// entry then keeps the list it shows. With a staff directory, the addressees and the takers
// are the directory's names first (by よみ), then the other names.
struct PickLists {
    std::optional<QStringList> addressees;  // 宛名
    std::optional<QStringList> callers;     // 相手
    std::optional<QStringList> takers;      // 受人
};
PickLists pickLists(Database& db);

// The lists, the mark-as-read and the watch below look for names beginning with name, except,
// with a staff directory, names beginning with a longer directory name (store::staff).

// Messages addressed to names beginning with name, newest first.
Listing receivedList(Database& db, const QString& name);
// Marks read, with today's date text, the unread messages addressed to names beginning with
// name, but only those the listing showed (numbered up to its highest ＮＯ): a message
// inserted after the listing stays unread until it is listed. highestListed is the listing's
// highestNumber(), taken before its rows go anywhere. Returns the rows marked.
std::int64_t markRead(Database& db, const QString& name, const QString& today,
                      std::int64_t highestListed);
// The highest ＮＯ of a received or sent listing (its first row's); 0 when it has no row.
std::int64_t highestNumber(const Listing& listed);
// Messages taken by names beginning with name, newest first.
Listing sentList(Database& db, const QString& name);
// Inserts one message: the line "内線" or "外線", "-" for a missing number; the database numbers
// it.
void insert(Database& db, const NewMessage& message);
// Deletes the message numbered no; deleting a message that is gone already is no error.
void remove(Database& db, std::int64_t no);
// Whether an unread message waits for a name beginning with name.
bool hasUnread(Database& db, const QString& name);
// The unread messages waiting for a name beginning with name: how many, and the newest of them.
using Unread = store::Unread;
Unread unread(Database& db, const QString& name);
// Whether a message addressed to addressee is one that hasUnread and the received list find
// for name: the rule by which a workstation tells whether a message just sent may be its own.
bool wouldList(const Database& db, const QString& name, const QString& addressee);

// A text as the engine stores it: half a character (an unpaired surrogate) becomes U+FFFD, as
// no engine keeps half a character; a text holding a NUL character is refused
// (Error::Kind::TextRefused) where the engine cannot hold one, never stored cut short.
QString storable(const Database& db, const QString& text);

// The names beginning with name, as the engines look for them.
NamePrefix namesBeginningWith(const Database& db, const QString& name);

}  // namespace store::memo
