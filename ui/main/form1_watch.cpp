// The new-message watch: Timer1's tick and the Chk1 switch.
#include <QPointer>
#include <memory>

#include "app/failure_log.h"
#include "store/memo_table.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"

void Form1::Timer1_Timer() {
    // One modal box at a time: a tick that comes while any box, dialog or the settings window
    // waits for the user shows nothing; the next tick tries again. So does one that comes while
    // another operation, or the last tick's poll, still waits for the data: one at a time.
    if (prompts_.isOpen() || state_.dataThread.busy()) {
        return;
    }
    // An empty name would match everybody's messages: without a name there is nothing to ask.
    if (state_.My_Name.isEmpty()) {
        return;
    }
    store::Database* db = nullptr;
    try {
        db = &dataFile();
    } catch (const std::exception& e) {
        watchFailed(e);
        return;
    }
    // The poll waits in the background: the user did not ask for it, so the window goes on
    // taking input meanwhile (against a server that stopped answering that is the whole
    // bound); an operation the user starts meanwhile waits for the poll first. It only tests
    // for one unread message unless the notices want the count and the newest.
    const bool counting = notices_ != nullptr && notices_->wantsCount();
    auto found = std::make_shared<store::memo::Unread>();
    state_.dataThread.post(
        [db, found, counting, name = state_.My_Name] {
            if (counting) {
                *found = store::memo::unread(*db, name);
            } else {
                found->count = store::memo::hasUnread(*db, name) ? 1 : 0;
            }
        },
        [self = QPointer<Form1>(this), found, counting](std::exception_ptr failure) {
            if (self) {
                self->watchAnswered(*found, counting, failure);
            }
        });
}

void Form1::listenForArrivals() {
    store::Database& db = dataFile();
    if (db.capabilities().arrivalNotices) {
        arrivals_ =
            db.watchArrivals([this](const store::Arrival& arrival) { Timer1_Arrival(arrival); });
    }
}

// The ticks stay: a data file tells of no send, and a send made while the listening was lost
// is heard of by no one. A message heard of while a box is open or an operation waits is left
// to the next tick, as a tick then is.
void Form1::Timer1_Arrival(const store::Arrival& arrival) {
    if (!Chk1->isChecked() || !state_.Db_Data) {
        return;  // the watch is off: no ticks, and nothing sooner either
    }
    try {
        if (arrival.addressee &&
            !store::memo::wouldList(*state_.Db_Data, state_.My_Name, *arrival.addressee)) {
            return;
        }
    } catch (const std::exception&) {
        return;  // a name the data cannot hold: the ticks report it
    }
    Timer1_Timer();
}

void Form1::watchAnswered(const store::memo::Unread& unread, bool counted,
                          const std::exception_ptr& failure) {
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            watchFailed(e);
        }
        return;
    }
    watchSucceeded();
    if (counted && notices_ != nullptr) {
        notices_->counted(unread);
    }
    if (unread.count == 0) {
        return;
    }
    // A desktop notification takes the box's place when the user chose it and it can be given.
    if (counted && notices_ != nullptr && notices_->tell(unread, [self = QPointer<Form1>(this)] {
            if (self) {
                self->watchBox();
            }
        })) {
        return;
    }
    watchBox();
}

void Form1::watchBox() {
    // An answer that comes while a box is open, or while an operation the user started waits,
    // shows nothing, as a tick then would; the next tick asks again.
    if (!prompts_.isOpen() && !state_.dataThread.busy()) {
        prompts_.inform(tr("新規メッセージがあります。"));
    }
}

// A failed tick stays silent (an unreachable or locked file, no data file), unless the ticks
// have failed for the whole bound in a row: then the user is told once, and again only after a
// tick has worked and a new run of failures has lasted as long. Only the first failure of a run
// goes to the log, and the run's end.
void Form1::watchFailed(const std::exception& failure) {
    if (watchFailures_++ == 0) {
        logFailure(QStringLiteral("watch"), failure);
    }
    const auto now = std::chrono::steady_clock::now();
    if (!watchFailingSince_) {
        watchFailingSince_ = now;
    }
    if (watchFailureTold_ || now - *watchFailingSince_ < watchFailureBound_) {
        return;
    }
    watchFailureTold_ = true;
    prompts_.inform(tr("データファイルに接続できないため、新規メッセージを確認できません。"));
}

void Form1::watchSucceeded() {
    if (watchFailures_ > 0) {
        app::logEntry(state_.logPath, QStringLiteral("watch"), dataLocation(), QString(),
                      QStringLiteral("recovered after %1 failed checks").arg(watchFailures_));
        watchFailures_ = 0;
    }
    watchFailingSince_.reset();
    watchFailureTold_ = false;
}

void Form1::Chk1_Click() {
    if (!Chk1->isChecked()) {
        Timer1->stop();  // period 0: no ticks at all
    } else {
        Timer1->start(watchPeriod_);  // the first tick one full period from now
    }
}

void Form1::setWatchPeriod(int ms) {
    watchPeriod_ = ms;
    if (Timer1->isActive()) {
        Timer1->start(watchPeriod_);
    }
}
