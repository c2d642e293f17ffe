// The new-message watch: Timer1's tick and the Chk1 switch.
#include "store/memo_table.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"

void Form1::Timer1_Timer() {
    // One notice at a time: ticks that come while it waits for the user are skipped.
    if (noticeOpen_) {
        return;
    }
    // An empty name matches nobody, and without a data file there is nothing to ask.
    if (state_.My_Name.isEmpty() || !state_.Db_Data) {
        return;
    }
    bool waiting = false;
    try {
        waiting = store::memo::hasUnread(*state_.Db_Data, state_.My_Name, &Rs_Main);
    } catch (const std::exception& e) {
        // Unreachable or locked file: no message, the next tick tries again.
        watchFailed(e);
        return;
    }
    watchSucceeded();
    if (waiting) {
        noticeOpen_ = true;
        prompts_.inform(tr("新規メッセージがあります。"));
        noticeOpen_ = false;
    }
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
