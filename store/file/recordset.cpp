#include "store/file/recordset.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <iterator>

#include "store/error.h"

namespace store::file {

Recordset::Recordset(QStringList columns, Cells cells)
    : columns_(std::move(columns)), cells_(std::move(cells)) {
    rowCount_ = columns_.isEmpty() ? 0 : std::int64_t(cells_.size()) / columns_.size();
}

const Field& Recordset::Fields(const QString& name) const {
    const int column = columnIndex(name);
    if (column < 0) {
        throw engineError(SQLITE_ERROR, QStringLiteral("項目 '%1' がありません。").arg(name));
    }
    return field(column);
}

const Field& Recordset::field(int column) const {
    if (Eof() || column < 0 || column >= columns_.size()) {
        throw engineError(SQLITE_RANGE, QStringLiteral("カレント レコードがありません。"));
    }
    return cells_[size_t(current_ * columns_.size() + column)];
}

}  // namespace store::file
