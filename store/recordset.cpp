#include "store/recordset.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <iterator>

#include "store/error.h"

namespace store {

Recordset::Recordset(QStringList columns, Cells cells)
    : columns_(std::move(columns)), cells_(std::move(cells)) {
    rowCount_ = columns_.isEmpty() ? 0 : std::int64_t(cells_.size()) / columns_.size();
}

Recordset::Recordset(QStringList columns, std::vector<Field> cells)
    : Recordset(std::move(columns), Cells(std::make_move_iterator(cells.begin()),
                                          std::make_move_iterator(cells.end()))) {}

const Field& Recordset::Fields(const QString& name) const {
    const int column = columnIndex(name);
    if (column < 0) {
        throw file::engineError(SQLITE_ERROR, QStringLiteral("項目 '%1' がありません。").arg(name));
    }
    return field(column);
}

const Field& Recordset::field(int column) const {
    if (Eof() || column < 0 || column >= columns_.size()) {
        throw file::engineError(SQLITE_RANGE, QStringLiteral("カレント レコードがありません。"));
    }
    return cells_[size_t(current_ * columns_.size() + column)];
}

}  // namespace store
