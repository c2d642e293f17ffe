// The marks of a message (至急 when sent, 対応日時 when handled), the row's menu, and the ready
// phrases beside the memo text.
#include <QMenu>

#include "app/notices.h"
#include "store/date_time_text.h"
#include "store/listed_message.h"
#include "store/location.h"
#include "store/phrases.h"
#include "ui/busy_cursor.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"

void Form1::learnAdditions() {
    try {
        additions_ = offWindow([&db = dataFile()] { return db.additions(); });
    } catch (const std::exception& e) {
        // Nothing is offered that the data may not hold; the rest works as before.
        logFailure(QStringLiteral("additions"), e);
        additions_ = {};
        return;
    }
    const bool urgent = additions_.has(store::memo::Added::Urgent);
    Chk_Urgent->setEnabled(urgent);
    Chk_Urgent->setChecked(Chk_Urgent->isChecked() && urgent);
    if (additions_.complete()) {
        return;
    }
    // Said once for each data location on this computer: every start would repeat it to users
    // who can do nothing about it until the administrator upgrades the data.
    const QString location = store::maskedLocation(dataFile().path());
    if (app::firstNotice(state_.logPath, QStringLiteral("upgrade\t") + location)) {
        prompts_.inform(tr("このデータには「至急」「対応済み」の印と定型文の表がまだありません。"
                           "管理者が次のコマンドで追加すると使えるようになります。\n"
                           "dulvane-admin upgrade %1")
                            .arg(location));
    }
}

void Form1::fillPhraseMenu(const QStringList& phrases) {
    phraseMenu_->clear();
    for (const QString& phrase : phrases) {
        // The text as the action's data: the shown text may gain an accelerator.
        phraseMenu_->addAction(QString(phrase).replace(u'&', QStringLiteral("&&")))
            ->setData(phrase);
    }
    if (phrases.isEmpty()) {
        phraseMenu_->addAction(tr("（定型文はありません）"))->setEnabled(false);
    }
}

void Form1::Cmd_Phrase_Click() {
    phraseMenu_->popup(Cmd_Phrase->mapToGlobal(QPoint(0, Cmd_Phrase->height())));
}

void Form1::Cmd_Phrase_Triggered(QAction* action) {
    const QString phrase = action->data().toString();
    if (phrase.isEmpty()) {
        return;
    }
    // Within the memo text's own limit.
    TxT_Memo->setText(phrase.left(store::phrases::kMaxLength));
    TxT_Memo->setCursorPosition(0);
}

std::unique_ptr<QMenu> Form1::rowMenu(int Row) {
    if (!listedAt(Row)) {
        return nullptr;
    }
    // Owned by the caller alone: no parent that could delete it first.
    auto menu = std::make_unique<QMenu>();
    connect(menu->addAction(tr("開く")), &QAction::triggered, this,
            [this, Row] { SS1_DblClick(0, Row); });
    const bool handled = SS1->handled(Row);
    QAction* mark = menu->addAction(handled ? tr("未対応に戻す") : tr("対応済みにする"));
    mark->setObjectName(QStringLiteral("mark"));
    mark->setEnabled(additions_.has(store::memo::Added::HandledAt));
    connect(mark, &QAction::triggered, this, [this, Row, handled] { markHandled(Row, !handled); });
    menu->addSeparator();
    connect(menu->addAction(tr("削除")), &QAction::triggered, this,
            [this, Row] { SS1_Click(int(GridColumn::Delete), Row); });
    return menu;
}

void Form1::SS1_ContextMenu(int Row, const QPoint& globalPos) {
    if (const std::unique_ptr<QMenu> menu = rowMenu(Row)) {
        menu->exec(globalPos);
    }
}

void Form1::markHandled(int Row, bool handled) {
    const std::optional<store::memo::ListedMessage> listed = listedAt(Row);
    if (!listed) {
        return;
    }
    const std::optional<QString> at =
        handled ? std::optional<QString>(store::dateTimeText(store::localNow())) : std::nullopt;
    store::memo::MarkOutcome outcome{};
    try {
        BusyCursor busy;
        outcome = offWindow([&db = dataFile(), message = *listed, at] {
            return store::memo::markHandled(db, message, at);
        });
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("mark handled"), e);
        prompts_.inform(tr("データベース更新に失敗しました。"));
        return;
    }
    switch (outcome) {
        case store::memo::MarkOutcome::Marked:
            SS1->setHandled(Row, handled);
            break;
        case store::memo::MarkOutcome::Replaced:
            // As the delete: the number was handed out again, the row is stale.
            refuseStaleRow(QStringLiteral("mark handled"), listed->no, QStringLiteral("marked"),
                           tr("この伝言は一覧を表示した後に変わったため、印を付けませんでした。"
                              "一覧を表示し直してください。"));
            break;
        case store::memo::MarkOutcome::Gone:
            prompts_.inform(tr("この伝言はすでに削除されています。"));
            break;
    }
}
