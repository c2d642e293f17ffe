#include "ui/main/message_list.h"

#include <cstdint>
#include <vector>

#include "store/date_time_text.h"
#include "store/listed_message.h"
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

// Texts made from the listing's texts, made once for each distinct source. A listing shares
// one string among all the rows that hold the same text (a caller, a date, the line), so the
// source strings' addresses tell which rows need the same derived text. Every source string
// was made before the fill starts, so while the fill frees rows no address is ever reused by
// another source. (Made afresh for each row instead, the derived texts raised the peak with
// 100,000 listed rows from 84.8 to 92.8 MB, and the grid fill from 100 to 122 ms.)
class Derived {
public:
    template <class Make>
    const QString& get(const QString& a, const QString& b, Make make) {
        const void* ka = a.constData();
        const void* kb = b.constData();
        const size_t h =
            (reinterpret_cast<std::uintptr_t>(ka) * 31u + reinterpret_cast<std::uintptr_t>(kb)) >>
            4;
        Slot& slot = slots_[h % kSlots];
        if (!slot.used || slot.a != ka || slot.b != kb || slot.sizeA != a.size() ||
            slot.sizeB != b.size()) {
            slot = Slot{ka, kb, a.size(), b.size(), make(), true};
        }
        return slot.text;
    }

private:
    static constexpr size_t kSlots = 509;
    struct Slot {
        const void* a = nullptr;
        const void* b = nullptr;
        qsizetype sizeA = 0;
        qsizetype sizeB = 0;
        QString text;
        bool used = false;
    };
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
};

}  // namespace

void fillMessageList(SpreadGrid& grid, store::Recordset& rs, const QString& column6) {
    const ListColumns c(rs, column6);
    const store::memo::IdentityColumns identity(rs);
    SpreadGrid::Batch batch(grid);
    grid.setRowCount(0);
    const QString none;
    Derived callers, lines, readOn;
    rs.drain([&](const store::Recordset& listed) {
        GridRow row;
        const store::Field& receivedAt = listed.field(c.receivedAt);
        if (!receivedAt.isNull()) {
            row.setText(GridColumn::DateTime, store::fromThirdCharacter(receivedAt.value()));
        }
        const store::Field& caller = listed.field(c.caller);
        if (!caller.isNull()) {
            row.setText(GridColumn::Caller, callers.get(caller.value(), none, [&] {
                return caller.value() + QStringLiteral("様");
            }));
        }
        const store::Field& memo = listed.field(c.memo);
        if (!memo.isNull()) {
            row.setText(GridColumn::Memo, memo.value());
        }
        const store::Field& phone = listed.field(c.phone);
        if (!phone.isNull()) {
            const QString& line = listed.field(c.line).value();
            row.setText(GridColumn::Phone, lines.get(line, phone.value(), [&] {
                // Allocated to its exact length: one such text per row.
                QString text;
                text.reserve(line.size() + phone.value().size());
                return text.append(line).append(phone.value());
            }));
        }
        const store::Field& name = listed.field(c.name);
        if (!name.isNull()) {
            row.setText(GridColumn::Name, name.value());
        }
        const store::Field& read = listed.field(c.read);
        if (!read.isNull()) {
            row.setText(GridColumn::Read, readOn.get(read.value(), none, [&] {
                return store::fromThirdCharacter(read.value());
            }));
        }
        const store::Field& no = listed.field(c.no);
        if (!no.isNull()) {
            bool isNumber = false;
            const qint64 number = no.value().toLongLong(&isNumber);
            if (isNumber) {
                row.setNumber(number);
                row.setIdentity(identity.of(listed));
            }
        }
        if (grid.rowCount() == 0) {
            // The header of column 6 names the listing's kind of name.
            grid.setNameHeader(column6);
        }
        grid.appendRow(std::move(row));
    });
}
