// Message entry: the reset (Cmd_Clear) and the send (Command2).
#include <stdexcept>

#include "store/date_time_text.h"
#include "store/error.h"
#include "store/memo_table.h"
#include "store/phrases.h"
#include "ui/busy_cursor.h"
#include "ui/main/form1.h"
#include "ui/main/texts.h"
#include "ui/prompts.h"

store::Database& Form1::dataFile() {
    if (!state_.Db_Data) {
        throw store::Error::notOpen(tr("データファイルが開かれていません。"));
    }
    return *state_.Db_Data;
}

void Form1::fillPickList(QComboBox* box, const std::optional<QStringList>& names) {
    // A column that gave no row leaves the list as it was.
    if (!names) {
        return;
    }
    const QString text = box->currentText();
    box->clear();
    box->addItems(*names);
    box->setEditText(text);
}

void Form1::resetEntry() {
    struct Read {
        store::memo::PickLists lists;
        QStringList phrases;
        std::exception_ptr phrasesFailed;
    };
    Read read = offWindow([&db = dataFile()] {
        Read r{store::memo::pickLists(db), {}, nullptr};
        try {
            r.phrases = store::phrases::offered(db);
        } catch (...) {
            r.phrasesFailed = std::current_exception();
        }
        return r;
    });
    if (read.phrasesFailed) {
        try {
            std::rethrow_exception(read.phrasesFailed);
        } catch (const std::exception& e) {
            logFailure(QStringLiteral("phrases"), e);
        } catch (...) {
            logFailure(QStringLiteral("phrases"), std::runtime_error("unknown failure"));
        }
    }
    fillPhraseMenu(read.phrases);
    resetFields(read.lists);
}

void Form1::resetFields(const store::memo::PickLists& lists) {
    Cmb_To->setEditText(QString());
    fillPickList(Cmb_To, lists.addressees);
    Cmb_From->setEditText(QString());
    fillPickList(Cmb_From, lists.callers);
    fillPickList(Cmb_My, lists.takers);
    Cmb_My->setEditText(state_.My_Name);
    TxT_Memo->setText(texts::defaultMemo());
    Txt_Tel->clear();
    Txt_Time->setText(store::dateTimeText(store::localNow()));
    Chk_Urgent->setChecked(false);
    SS1->clear();
}

void Form1::Cmd_Clear_Click() {
    try {
        BusyCursor busy;
        resetEntry();
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("reset"), e);
        resetFields({});
        prompts_.inform(tr("データファイルを読めませんでした。名前の一覧は更新されていません。"));
    }
}

void Form1::Command2_Click() {
    Txt_Time->setText(store::dateTimeText(store::localNow()));

    if (Cmb_To->currentText().isEmpty() || Cmb_From->currentText().isEmpty() ||
        Cmb_My->currentText().isEmpty() || TxT_Memo->text().isEmpty()) {
        prompts_.inform(tr("未入力項目があります。"));
        return;
    }

    try {
        BusyCursor busy;
        store::memo::NewMessage message;
        message.addressee = Cmb_To->currentText();
        message.caller = Cmb_From->currentText();
        message.taker = Cmb_My->currentText();
        message.memo = TxT_Memo->text();
        message.outsideLine = !Option1->isChecked();
        message.phone = Txt_Tel->text();
        message.receivedAt = Txt_Time->text();
        message.urgent = Chk_Urgent->isEnabled() && Chk_Urgent->isChecked();
        offWindow([&db = dataFile(), message] { store::memo::insert(db, message); });
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("send"), e);
        prompts_.inform(tr("データベース登録に失敗しました。"));
        return;
    }
    prompts_.inform(tr("メッセージを送信しました。"));

    // The message is stored: a failed refresh must not read as a failed send, which would
    // invite the user to send it twice.
    try {
        BusyCursor busy;
        resetEntry();
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("reset"), e);
        resetFields({});
        prompts_.inform(tr("メッセージは送信しましたが、名前の一覧を更新できませんでした。"));
    }
}
