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

// Both lists: the listing read into Rs_Main; when it is empty, the message none and nothing
// else; otherwise the grid shows it, column 6 headed column6, and then afterShown runs. Any
// failure on the way is logged as operation and told as the search's failure.
void Form1::listMessages(const QString& operation, const Listing& read, store::NameColumn column6,
                         const QString& none,
                         const std::function<void(std::int64_t highestListed)>& afterShown) {
    if (!requireName()) {
        return;
    }
    try {
        BusyCursor busy;
        Rs_Main =
            offWindow([&read, &db = dataFile(), name = state_.My_Name] { return read(db, name); });
        if (Rs_Main.empty()) {
            busy.end();
            prompts_.inform(none);
            return;
        }
        // Taken first, since the grid takes the listing's rows.
        const std::int64_t highestListed = store::memo::highestNumber(Rs_Main);
        fillMessageList(*SS1, Rs_Main, column6);
        if (afterShown) {
            afterShown(highestListed);
        }
    } catch (const std::exception& e) {
        logFailure(operation, e);
        prompts_.inform(tr("データベース検索に失敗しました。"));
    }
}

void Form1::Command1_Click() {
    listMessages(QStringLiteral("received list"), store::memo::receivedList, store::NameColumn::Taker,
                 tr("受信データはありません。"), [this](std::int64_t highestListed) {
                     // Only the messages this listing shows are marked read: one inserted
                     // meanwhile by another workstation stays unread, so it is still announced.
                     offWindow([&db = dataFile(), name = state_.My_Name,
                                today = store::dateText(store::localNow().date()), highestListed] {
                         store::memo::markRead(db, name, today, highestListed);
                     });
                 });
}

void Form1::Command3_Click() {
    listMessages(QStringLiteral("sent list"), store::memo::sentList, store::NameColumn::Addressee,
                 tr("未読送信データはありません。"), nullptr);
}
