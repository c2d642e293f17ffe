#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "store/database.h"

// A message as a list showed it, and the actions that must reach that message and no other.
// A number alone does not say so: a data file put back from a backup may hand out again the
// numbers it handed out after the backup, and a list shown before then still holds them.
namespace store::memo {

// A fingerprint of the texts a message keeps from its send on: 宛名, 相手, 受人, メモ, 内外線, 電話
// and 受付日時, a Null told apart from an empty text. 既読 is left out: the received list itself
// sets it on the messages it shows.
using Identity = std::uint64_t;

// Reads the fingerprinted columns of a listing (or of any read of whole messages) by index.
class IdentityColumns {
public:
    explicit IdentityColumns(const Recordset& rs);
    // The current row's identity.
    Identity of(const Recordset& rs) const;

private:
    std::array<int, 7> columns_;
};

// Which message a list row stands for.
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

}  // namespace store::memo
