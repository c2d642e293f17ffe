#include "store/listed_message.h"

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

RemoveOutcome removeListed(Database& db, const ListedMessage& listed) {
    Transaction transaction(db, Transaction::Kind::Write);
    RemoveOutcome outcome = RemoveOutcome::Gone;
    switch (lookFor(db, listed)) {
        case Found::Listed:
            db.deleteMessage(listed.no);
            outcome = RemoveOutcome::Removed;
            break;
        case Found::Replaced:
            outcome = RemoveOutcome::Replaced;
            break;
        case Found::Gone:
            break;
    }
    transaction.commit();
    return outcome;
}

MarkOutcome markHandled(Database& db, const ListedMessage& listed,
                        const std::optional<QString>& handledAt) {
    Transaction transaction(db, Transaction::Kind::Write);
    MarkOutcome outcome = MarkOutcome::Gone;
    switch (lookFor(db, listed)) {
        case Found::Listed:
            db.setAdded(
                listed.no, Added::HandledAt,
                handledAt ? std::optional<QString>(storable(db, *handledAt)) : std::nullopt);
            outcome = MarkOutcome::Marked;
            break;
        case Found::Replaced:
            outcome = MarkOutcome::Replaced;
            break;
        case Found::Gone:
            break;
    }
    transaction.commit();
    return outcome;
}

}  // namespace store::memo
