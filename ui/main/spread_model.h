#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include "ui/main/cell_rows.h"

// The grid's cells: rows of plain texts (kept by CellRows), a header text per column and row
// numbers for the row headers. Read-only to the view; the grid writes through the methods
// below. Rows and columns here count from 0.
class SpreadModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit SpreadModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Column headers; their number is the number of columns. Rows keep their cells in the
    // columns that remain.
    QStringList headers() const { return headers_; }
    void setHeaders(const QStringList& headers);
    QString header(int col) const;
    void setHeader(int col, const QString& text);

    // "" for an empty cell or one outside the grid; writes outside the grid are ignored.
    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Truncates, or pads with empty rows.
    void setRowCount(int rows);
    void appendRows(int count);
    // Empties every cell of rows row1..row2 and columns col1..col2 (inclusive, clamped).
    void clearBlock(int row1, int col1, int row2, int col2);
    // Reorders rows first..last (inclusive) by the texts of keyCol; stable. Rows whose every
    // cell is empty stay below the others. Within the rest an empty key comes first when
    // ascending; a numeric key column compares its texts as numbers.
    void sortRows(int first, int last, int keyCol, bool ascending, bool numeric);

    // While a batch is open, changes go to the storage without notifications; closing the
    // outermost batch resets the views once.
    void beginBatch();
    void endBatch();
    bool inBatch() const { return batchDepth_ > 0; }

private:
    bool rowIsEmpty(int row) const;
    QString* rowCells(int row) { return cells_.row(row); }
    const QString* rowCells(int row) const { return cells_.row(row); }

    QStringList headers_;
    CellRows cells_;
    int batchDepth_ = 0;
};
