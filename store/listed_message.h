#pragma once

#include <cstdint>

#include "store/database.h"
#include "store/message.h"

// A message as a list showed it, and the actions that must reach that message and no other.
// A number alone does not say so: a data file put back from a backup may hand out again the
// numbers it handed out after the backup, and a list shown before then still holds them.
namespace store::memo {

using store::Identity;

// Which message a list row stands for: its number and its identity (store::identityOf).
struct ListedMessage {
    std::int64_t no = 0;
    Identity identity = 0;
    bool operator==(const ListedMessage&) const = default;
};

enum class RemoveOutcome {
    Removed,   // the message listed was deleted
    Gone,      // no message holds the number (deleted elsewhere already)
    Replaced,  // another message holds the number now: nothing was deleted
};

// Deletes the listed message, only when the message numbered listed.no is still the one
// listed, in one write transaction: the read, the comparison and the delete see the same data.
RemoveOutcome removeListed(Database& db, const ListedMessage& listed);

enum class MarkOutcome {
    Marked,    // the message listed was marked
    Gone,      // no message holds the number
    Replaced,  // another message holds the number now: nothing was marked
};

// Marks the listed message handled at handledAt (a date-time text), or not handled (nullopt),
// only when the message numbered listed.no is still the one listed, as removeListed. Neither
// 対応日時 nor 既読 is part of the identity, so a message marked or read elsewhere since the
// listing is still the one listed. Fails when the data lacks 対応日時.
MarkOutcome markHandled(Database& db, const ListedMessage& listed,
                        const std::optional<QString>& handledAt);

}  // namespace store::memo
