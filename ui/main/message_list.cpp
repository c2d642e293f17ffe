#include "ui/main/message_list.h"

#include "store/date_time_text.h"
#include "ui/main/spread_grid.h"

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

void fillMessageList(SpreadGrid& grid, store::Recordset& rs, const QString& column6) {
    const ListColumns c(rs, column6);
    SpreadGrid::Batch batch(grid);
    grid.setMaxRows(0);
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        grid.rowAppend();
        const int row = grid.Row();
        const store::Field& receivedAt = rs.field(c.receivedAt);
        if (!receivedAt.isNull()) {
            grid.cellWrite(2, store::fromThirdCharacter(receivedAt.value()));
        }
        const store::Field& caller = rs.field(c.caller);
        if (!caller.isNull()) {
            grid.cellWrite(3, caller.value() + QStringLiteral("様"));
        }
        const store::Field& memo = rs.field(c.memo);
        if (!memo.isNull()) {
            grid.cellWrite(4, memo.value());
        }
        const store::Field& phone = rs.field(c.phone);
        if (!phone.isNull()) {
            grid.cellWrite(5, rs.field(c.line).value() + phone.value());
        }
        grid.setRow(0);
        grid.cellWrite(6, column6);
        grid.setRow(row);
        const store::Field& name = rs.field(c.name);
        if (!name.isNull()) {
            grid.cellWrite(6, name.value());
        }
        const store::Field& read = rs.field(c.read);
        if (!read.isNull()) {
            grid.cellWrite(7, store::fromThirdCharacter(read.value()));
        }
        const store::Field& no = rs.field(c.no);
        if (!no.isNull()) {
            grid.cellWrite(8, no.value());
        }
    }
}
