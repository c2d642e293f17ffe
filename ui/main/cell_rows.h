#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// The message grid's columns, numbered from 1 as the window's click events count them.
enum class GridColumn {
    Delete = 1,  // 削除: a button in every row, no text
    DateTime,    // 日時
    Caller,      // 電話相手
    Memo,        // メモ
    Phone,       // 電話
    Name,        // 受人 or 宛名, as the header says
    Read,        // 既読
    Number,      // 受付NO
};
inline constexpr int kGridColumns = 8;

// One row of the grid: a text for each column that shows one, and the message the row stands
// for: its number and its identity (see store::memo::Identity), which tells whether the message
// under that number is still the one listed. The number column shows the number when there is
// one, else its own text.
class GridRow {
public:
    const QString& text(GridColumn column) const;
    void setText(GridColumn column, QString text);  // the delete column keeps no text

    std::optional<std::int64_t> number() const;
    void setNumber(std::optional<std::int64_t> number);
    std::uint64_t identity() const { return identity_; }
    void setIdentity(std::uint64_t identity) { identity_ = identity; }

    // What the row shows in the column.
    QString shown(GridColumn column) const;
    // No text and no number.
    bool isEmpty() const;

private:
    static constexpr std::int64_t kNoNumber = std::numeric_limits<std::int64_t>::min();
    static constexpr int kTexts = kGridColumns - 1;  // every column but the delete buttons

    std::array<QString, kTexts> texts_;
    std::int64_t number_ = kNoNumber;
    std::uint64_t identity_ = 0;
};

// The grid's rows, kept in chunks of a fixed number of rows. A chunk is allocated as the rows
// reach it, so a growing grid never moves the rows it holds and never needs room for all of
// them at once (a large list is written into the grid while its source is freed row by row).
class CellRows {
public:
    int rows() const { return rows_; }

    // Row (0 <= row < rows()).
    GridRow& row(int row) { return chunks_[size_t(row) >> kChunkShift][offset(row)]; }
    const GridRow& row(int row) const { return chunks_[size_t(row) >> kChunkShift][offset(row)]; }

    // Appends empty rows, or drops rows from the end.
    void resizeRows(int rows);
    // Removes count rows from first on; the rows below move up.
    void eraseRows(int first, int count);

private:
    // Two rows a chunk: blocks no larger than those a listing frees as the grid takes its
    // rows, so the heap makes the grid's rows from that memory instead of growing. (Larger
    // chunks measured a peak up to a fifth higher for 100,000 listed rows.)
    static constexpr unsigned kChunkShift = 1;
    static constexpr int kChunkRows = 1 << kChunkShift;

    static size_t offset(int row) { return size_t(row & (kChunkRows - 1)); }
    // Allocates or frees chunks so that exactly those holding rows 0..rows-1 remain.
    void fitChunks(int rows);

    // Every row at or beyond rows_ is empty.
    std::vector<std::unique_ptr<GridRow[]>> chunks_;
    int rows_ = 0;
};
