// The received list (Command1) and the sent list (Command3).
#include "store/date_time_text.h"
#include "store/memo_table.h"
#include "ui/main/form1.h"
#include "ui/prompts.h"

namespace {

// Reads each column once by name, then every row by index.
struct ListColumns {
    explicit ListColumns(const store::Recordset& rs, const QString& column6)
        : receivedAt(rs.columnIndex(QStringLiteral("受付日時"))),
          caller(rs.columnIndex(QStringLiteral("相手"))),
          memo(rs.columnIndex(QStringLiteral("メモ"))),
          line(rs.columnIndex(QStringLiteral("内外線"))),
          phone(rs.columnIndex(QStringLiteral("電話"))),
          name(rs.columnIndex(column6)),
          read(rs.columnIndex(QStringLiteral("既読"))),
          no(rs.columnIndex(QStringLiteral("ＮＯ"))) {}
    int receivedAt, caller, memo, line, phone, name, read, no;
};

}  // namespace

// An empty name would match everybody's messages: the lists ask for a name first.
bool Form1::requireName() {
    if (!state_.My_Name.isEmpty()) {
        return true;
    }
    prompts_.inform(tr("あなたの名前が設定されていません。「設定」で名前を入力して下さい。"));
    return false;
}

// Writes the listed rows into the grid, newest first; a
// failure part way leaves the rows written so far.
void Form1::showList(store::Recordset& rs, const QString& column6) {
    const ListColumns c(rs, column6);
    SpreadGrid::Batch batch(*SS1);
    SS1->setMaxRows(0);
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        SS1->rowAppend();
        const int row = SS1->Row();
        const store::Field& receivedAt = rs.field(c.receivedAt);
        if (!receivedAt.isNull()) {
            SS1->cellWrite(2, store::fromThirdCharacter(receivedAt.value()));
        }
        const store::Field& caller = rs.field(c.caller);
        if (!caller.isNull()) {
            SS1->cellWrite(3, caller.value() + QStringLiteral("様"));
        }
        const store::Field& memo = rs.field(c.memo);
        if (!memo.isNull()) {
            SS1->cellWrite(4, memo.value());
        }
        const store::Field& phone = rs.field(c.phone);
        if (!phone.isNull()) {
            SS1->cellWrite(5, rs.field(c.line).value() + phone.value());
        }
        SS1->setRow(0);
        SS1->cellWrite(6, column6);
        SS1->setRow(row);
        const store::Field& name = rs.field(c.name);
        if (!name.isNull()) {
            SS1->cellWrite(6, name.value());
        }
        const store::Field& read = rs.field(c.read);
        if (!read.isNull()) {
            SS1->cellWrite(7, store::fromThirdCharacter(read.value()));
        }
        const store::Field& no = rs.field(c.no);
        if (!no.isNull()) {
            SS1->cellWrite(8, no.value());
        }
    }
}

void Form1::Command1_Click() {
    if (!requireName()) {
        return;
    }
    try {
        Rs_Main = store::memo::receivedList(dataFile(), state_.My_Name);
        if (Rs_Main.RecordCount() == 0) {
            prompts_.inform(tr("受信データはありません。"));
            return;
        }
        showList(Rs_Main, QStringLiteral("受人"));
        // Only the messages this listing showed are marked read: one inserted meanwhile by
        // another workstation stays unread, so it is still announced.
        store::memo::markRead(dataFile(), state_.My_Name,
                              store::dateText(store::localNow().date()), Rs_Main);
    } catch (const std::exception&) {
        prompts_.inform(tr("データベース検索に失敗しました。"));
    }
}

void Form1::Command3_Click() {
    if (!requireName()) {
        return;
    }
    try {
        Rs_Main = store::memo::sentList(dataFile(), state_.My_Name);
        if (Rs_Main.RecordCount() == 0) {
            prompts_.inform(tr("未読送信データはありません。"));
            return;
        }
        showList(Rs_Main, QStringLiteral("宛名"));
    } catch (const std::exception&) {
        prompts_.inform(tr("データベース検索に失敗しました。"));
    }
}
