#pragma once

#include <QString>

#include <memory>
#include <vector>

// The grid's cells, row after row, kept in chunks of a fixed number of rows. A row's cells lie
// side by side; a chunk is allocated as the rows reach it, so a growing grid never moves the
// cells it holds and never needs room for all of them at once (a large list is written into
// the grid while its source is freed row by row).
class CellRows {
public:
    int rows() const { return rows_; }
    int cols() const { return cols_; }

    // The cells of row (0 <= row < rows()), cols() of them.
    QString* row(int row) { return chunks_[size_t(row) >> kChunkShift].get() + offset(row); }
    const QString* row(int row) const {
        return chunks_[size_t(row) >> kChunkShift].get() + offset(row);
    }

    // Appends empty rows, or drops rows from the end.
    void resizeRows(int rows);
    // Removes count rows from first on; the rows below move up.
    void eraseRows(int first, int count);
    // Changes the number of columns; each row keeps the cells of the columns that remain.
    void setCols(int cols);

private:
    // Two rows a chunk: blocks no larger than those a listing frees as the grid takes its
    // rows, so the heap makes the grid's cells from that memory instead of growing. (Larger
    // chunks measured a peak up to a fifth higher for 100,000 listed rows.)
    static constexpr unsigned kChunkShift = 1;
    static constexpr int kChunkRows = 1 << kChunkShift;

    size_t offset(int row) const { return size_t(row & (kChunkRows - 1)) * size_t(cols_); }
    // Allocates or frees chunks so that exactly those holding rows 0..rows-1 remain.
    void fitChunks(int rows);

    // Every cell of a row at or beyond rows_ is a null text.
    std::vector<std::unique_ptr<QString[]>> chunks_;
    int rows_ = 0;
    int cols_ = 0;
};
