#include "ui/main/cell_rows.h"

#include <algorithm>

void CellRows::fitChunks(int rows) {
    const size_t needed = (size_t(rows) + kChunkRows - 1) >> kChunkShift;
    if (needed < chunks_.size()) {
        chunks_.resize(needed);
        return;
    }
    while (chunks_.size() < needed) {
        chunks_.push_back(std::make_unique<QString[]>(size_t(kChunkRows) * size_t(cols_)));
    }
}

void CellRows::resizeRows(int rows) {
    rows = std::max(rows, 0);
    if (rows < rows_) {
        // Rows left in a chunk that stays are emptied; whole chunks go with their cells.
        const int keptEnd =
            std::min(rows_, int(((size_t(rows) + kChunkRows - 1) >> kChunkShift) << kChunkShift));
        for (int r = rows; r < keptEnd; ++r) {
            std::fill(row(r), row(r) + cols_, QString());
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
        std::move(row(r + count), row(r + count) + cols_, row(r));
    }
    resizeRows(rows_ - count);
}

void CellRows::setCols(int cols) {
    cols = std::max(cols, 0);
    if (cols == cols_) {
        return;
    }
    CellRows next;
    next.cols_ = cols;
    next.resizeRows(rows_);
    const int kept = std::min(cols_, cols);
    for (int r = 0; r < rows_; ++r) {
        std::move(row(r), row(r) + kept, next.row(r));
    }
    *this = std::move(next);
}
