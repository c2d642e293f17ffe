#include "ui/main/cell_rows.h"

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

void CellRows::fitChunks(int rows) {
    const size_t needed = (size_t(rows) + kChunkRows - 1) >> kChunkShift;
    if (needed < chunks_.size()) {
        chunks_.resize(needed);
        return;
    }
    while (chunks_.size() < needed) {
        chunks_.push_back(std::make_unique<GridRow[]>(size_t(kChunkRows)));
    }
}

void CellRows::resizeRows(int rows) {
    rows = std::max(rows, 0);
    if (rows < rows_) {
        // Rows left in a chunk that stays are emptied; whole chunks go with their rows.
        const int keptEnd =
            std::min(rows_, int(((size_t(rows) + kChunkRows - 1) >> kChunkShift) << kChunkShift));
        for (int r = rows; r < keptEnd; ++r) {
            row(r) = GridRow();
        }
    }
    fitChunks(rows);
    rows_ = rows;
}

void CellRows::eraseRows(int first, int count) {
    first = std::max(first, 0);
    count = std::min(count, rows_ - first);
    if (count <= 0) {
        return;
    }
    for (int r = first; r + count < rows_; ++r) {
        row(r) = std::move(row(r + count));
    }
    resizeRows(rows_ - count);
}
