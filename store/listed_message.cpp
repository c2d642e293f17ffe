#include "store/listed_message.h"

#include <functional>

#include "store/memo_table.h"

namespace store::memo {
namespace {

enum class Found { Listed, Gone, Replaced };

// Inside the caller's write transaction: whether the message numbered listed.no is the one
// listed.
Found lookFor(Database& db, const ListedMessage& listed) {
    const std::optional<MessageTexts> found = db.message(listed.no);
    if (!found) {
        return Found::Gone;
    }
    return identityOf(*found) == listed.identity ? Found::Listed : Found::Replaced;
}

}  // namespace

namespace {

// Runs act on the message the row listed when it is still there under its number, in one write
// transaction with the look; says what was found.
Found onListed(Database& db, const ListedMessage& listed, const std::function<void()>& act) {
    Transaction transaction(db, Transaction::Kind::Write);
    const Found found = lookFor(db, listed);
    if (found == Found::Listed) {
        act();
    }
    transaction.commit();
    return found;
}

}  // namespace

RemoveOutcome removeListed(Database& db, const ListedMessage& listed) {
    switch (onListed(db, listed, [&] { db.deleteMessage(listed.no); })) {
        case Found::Listed:
            return RemoveOutcome::Removed;
        case Found::Replaced:
            return RemoveOutcome::Replaced;
        case Found::Gone:
            break;
    }
    return RemoveOutcome::Gone;
}

MarkOutcome markHandled(Database& db, const ListedMessage& listed,
                        const std::optional<QString>& handledAt) {
    switch (onListed(db, listed, [&] {
        db.setAdded(listed.no, Added::HandledAt,
                    handledAt ? std::optional<QString>(storable(db, *handledAt)) : std::nullopt);
    })) {
        case Found::Listed:
            return MarkOutcome::Marked;
        case Found::Replaced:
            return MarkOutcome::Replaced;
        case Found::Gone:
            break;
    }
    return MarkOutcome::Gone;
}

}  // namespace store::memo
