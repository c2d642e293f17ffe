#include "store/listed_message.h"

namespace store::memo {

RemoveOutcome removeListed(Database& db, const ListedMessage& listed) {
    Transaction transaction(db, Transaction::Kind::Write);
    const std::optional<MessageTexts> found = db.message(listed.no);
    RemoveOutcome outcome = RemoveOutcome::Gone;
    if (found) {
        outcome = identityOf(*found) == listed.identity ? RemoveOutcome::Removed
                                                        : RemoveOutcome::Replaced;
    }
    if (outcome == RemoveOutcome::Removed) {
        db.deleteMessage(listed.no);
    }
    transaction.commit();
    return outcome;
}

}  // namespace store::memo
