// The received list (Command1) and the sent list (Command3).
#include "store/date_time_text.h"
#include "store/memo_table.h"
#include "ui/busy_cursor.h"
#include "ui/main/form1.h"
#include "ui/main/message_list.h"
#include "ui/prompts.h"

// An empty name would match everybody's messages: the lists ask for a name first.
bool Form1::requireName() {
    if (!state_.My_Name.isEmpty()) {
        return true;
    }
    prompts_.inform(tr("あなたの名前が設定されていません。「設定」で名前を入力して下さい。"));
    return false;
}

void Form1::showList(store::Listing& listed, store::NameColumn name) {
    fillMessageList(*SS1, listed, name);
}

void Form1::Command1_Click() {
    if (!requireName()) {
        return;
    }
    try {
        BusyCursor busy;
        Rs_Main = store::memo::receivedList(dataFile(), state_.My_Name);
        if (Rs_Main.empty()) {
            busy.end();
            prompts_.inform(tr("受信データはありません。"));
            return;
        }
        // Only the messages this listing shows are marked read: one inserted meanwhile by
        // another workstation stays unread, so it is still announced. The highest number is
        // taken first, since the grid takes the listing's rows.
        const std::int64_t highestListed = store::memo::highestNumber(Rs_Main);
        showList(Rs_Main, store::NameColumn::Taker);
        store::memo::markRead(dataFile(), state_.My_Name, store::dateText(store::localNow().date()),
                              highestListed);
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("received list"), e);
        prompts_.inform(tr("データベース検索に失敗しました。"));
    }
}

void Form1::Command3_Click() {
    if (!requireName()) {
        return;
    }
    try {
        BusyCursor busy;
        Rs_Main = store::memo::sentList(dataFile(), state_.My_Name);
        if (Rs_Main.empty()) {
            busy.end();
            prompts_.inform(tr("未読送信データはありません。"));
            return;
        }
        showList(Rs_Main, store::NameColumn::Addressee);
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("sent list"), e);
        prompts_.inform(tr("データベース検索に失敗しました。"));
    }
}
