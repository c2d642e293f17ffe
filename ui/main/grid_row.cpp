#include "ui/main/grid_row.h"

#include <algorithm>

namespace {

// Where a column's text is kept: the delete column has none.
int textSlot(GridColumn column) {
    return int(column) - int(GridColumn::DateTime);
}

}  // namespace

const QString& GridRow::text(GridColumn column) const {
    static const QString none;
    const int slot = textSlot(column);
    return slot >= 0 && slot < kTexts ? texts_[size_t(slot)] : none;
}

void GridRow::setText(GridColumn column, QString text) {
    const int slot = textSlot(column);
    if (slot >= 0 && slot < kTexts) {
        texts_[size_t(slot)] = std::move(text);
    }
}

std::optional<std::int64_t> GridRow::number() const {
    return number_ == kNoNumber ? std::nullopt : std::optional<std::int64_t>(number_);
}

void GridRow::setNumber(std::optional<std::int64_t> number) {
    number_ = number && *number != kNoNumber ? *number : kNoNumber;
}

QString GridRow::shown(GridColumn column) const {
    if (column == GridColumn::Number && number_ != kNoNumber) {
        return QString::number(number_);
    }
    return text(column);
}

bool GridRow::isEmpty() const {
    return number_ == kNoNumber &&
           std::all_of(texts_.begin(), texts_.end(), [](const QString& s) { return s.isEmpty(); });
}
