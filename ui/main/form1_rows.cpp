// Actions on a grid row: delete, header sort, the memo viewer.
#include "app/failure_log.h"
#include "store/listed_message.h"
#include "ui/main/form1.h"
#include "ui/main/spread_model.h"
#include "ui/prompts.h"
#include "ui/viewer/frm_memo2.h"

void Form1::SS1_Click(int Col, int Row) {
    if (SpreadGrid::columnAt(Col) == GridColumn::Delete && Row >= 1) {
        const std::optional<store::memo::ListedMessage> listed = listedAt(Row);
        if (!listed) {
            return;
        }
        if (!prompts_.ask(QString::number(Row) + tr("行目のデータを削除します。"))) {
            return;
        }
        store::memo::RemoveOutcome outcome{};
        try {
            outcome = offWindow([&db = dataFile(), message = *listed] {
                return store::memo::removeListed(db, message);
            });
        } catch (const std::exception& e) {
            logFailure(QStringLiteral("delete"), e);
            prompts_.inform(tr("データベース削除に失敗しました。"));
            return;
        }
        if (outcome == store::memo::RemoveOutcome::Replaced) {
            // The number was handed out again (a data file put back from a backup): the row
            // is stale, and the message holding its number now is not the user's to delete.
            refuseStaleRow(QStringLiteral("delete"), listed->no, QStringLiteral("deleted"),
                           tr("この伝言は一覧を表示した後に変わったため、削除しませんでした。"
                              "一覧を表示し直してください。"));
            return;
        }
        // Deleted here, or by another workstation before.
        closeViewerShowing(*listed);
        SS1->removeRow(Row);
    } else if (Row == 0) {
        // The corner (column 0) names no column: nothing to sort by.
        if (const std::optional<GridColumn> column = SpreadGrid::columnAt(Col)) {
            SS1->sortBy(*column);
        }
    }
}

void Form1::SS1_DblClick(int /*Col*/, int Row) {
    if (Row < 1) {
        return;
    }
    const QString caller = SS1->text(GridColumn::Caller, Row);
    if (caller.isEmpty()) {
        return;
    }
    if (!viewer_) {
        viewer_ = new Frm_Memo2();
        viewer_->setAttribute(Qt::WA_DeleteOnClose);
    }
    viewerShows_ = listedAt(Row);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    viewer_->Txt_From->setText(caller);
    viewer_->TxT_Memo->setText(SS1->text(GridColumn::Memo, Row));
    // A text longer than its box shows from its beginning, not its end.
    viewer_->Txt_From->setCursorPosition(0);
    viewer_->TxT_Memo->setCursorPosition(0);
}

std::optional<store::memo::ListedMessage> Form1::listedAt(int Row) const {
    const std::optional<std::int64_t> number = SS1->number(Row);
    if (!number) {
        return std::nullopt;
    }
    const QVariant identity = SS1->model()->index(Row - 1, 0).data(SpreadModel::IdentityRole);
    return store::memo::ListedMessage{*number, identity.value<quint64>()};
}

void Form1::closeViewerShowing(const store::memo::ListedMessage& message) {
    if (viewer_ && viewerShows_ == message) {
        viewer_->close();
        viewerShows_.reset();
    }
}

Frm_Memo2* Form1::memoViewer() const {
    return viewer_.data();
}

void Form1::refuseStaleRow(const QString& operation, std::int64_t no, const QString& notDone,
                           const QString& told) {
    app::logEntry(state_.logPath, operation, dataLocation(), QString(),
                  QStringLiteral("ＮＯ %1 not %2: the listed row is stale, another message holds "
                                 "the number now")
                      .arg(no)
                      .arg(notDone));
    prompts_.inform(told);
}
