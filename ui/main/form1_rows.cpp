// Actions on a grid row: delete, header sort, the memo viewer.
#include "store/memo_table.h"
#include "ui/busy_cursor.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"
#include "ui/viewer/frm_memo2.h"

void Form1::SS1_Click(int Col, int Row) {
    if (SpreadGrid::columnAt(Col) == GridColumn::Delete && Row >= 1) {
        const std::optional<std::int64_t> number = SS1->number(Row);
        if (!number) {
            return;
        }
        if (!prompts_.ask(QString::number(Row) + tr("行目のデータを削除します。"))) {
            return;
        }
        try {
            BusyCursor busy;
            store::memo::remove(dataFile(), *number);
        } catch (const std::exception& e) {
            logFailure(QStringLiteral("delete"), e);
            prompts_.inform(tr("データベース削除に失敗しました。"));
            return;
        }
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
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    viewer_->Txt_From->setText(caller);
    viewer_->TxT_Memo->setText(SS1->text(GridColumn::Memo, Row));
    // A text longer than its box shows from its beginning, not its end.
    viewer_->Txt_From->setCursorPosition(0);
    viewer_->TxT_Memo->setCursorPosition(0);
}

Frm_Memo2* Form1::memoViewer() const {
    return viewer_.data();
}
