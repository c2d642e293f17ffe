#include "store/transaction.h"

namespace store {

Transaction::Transaction(Transactional& on, Kind kind) : on_(on) {
    on_.begin(kind);
    open_ = true;
}

Transaction::~Transaction() {
    if (open_) {
        on_.rollback();
    }
}

void Transaction::commit() {
    on_.commit();
    open_ = false;
}

}  // namespace store
