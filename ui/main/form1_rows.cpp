// Actions on a grid row: delete, header sort, the memo viewer.
#include "store/memo_table.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"
#include "ui/viewer/frm_memo2.h"

void Form1::SS1_Click(int Col, int Row) {
    if (Col == 1 && Row >= 1) {
        const QString no = SS1->cellText(8, Row);
        if (no.isEmpty()) {
            return;
        }
        if (!prompts_.ask(QString::number(Row) + tr("行目のデータを削除します。"))) {
            return;
        }
        try {
            bool isNumber = false;
            const qint64 number = no.toLongLong(&isNumber);
            if (!isNumber) {
                throw std::invalid_argument("the row's number is not a number");
            }
            store::memo::remove(dataFile(), number);
        } catch (const std::exception& e) {
            logFailure(QStringLiteral("delete"), e);
            prompts_.inform(tr("データベース削除に失敗しました。"));
            return;
        }
        SS1->rowDelete(Row);
    } else if (Row == 0) {
        SS1->columnSort(Col);
    }
}

void Form1::SS1_DblClick(int /*Col*/, int Row) {
    if (Row < 1) {
        return;
    }
    const QString caller = SS1->cellText(3, Row);
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
    viewer_->TxT_Memo->setText(SS1->cellText(4, Row));
}

Frm_Memo2* Form1::memoViewer() const {
    return viewer_.data();
}
