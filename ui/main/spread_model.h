#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <deque>

#include "ui/main/grid_row.h"

// The grid's cells: rows of plain texts with the message number of each row, a header text
// per column and row numbers for the row headers. Read-only to the
// view; the grid writes through the methods below. Rows here count from 0.
class SpreadModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // A row's message number (an integer), in every column of the row; none for a row that
    // stands for no message.
    static constexpr int NumberRole = Qt::UserRole + 1;
    // The identity of the message a row stands for (an unsigned 64-bit integer); none for a
    // row without a number.
    static constexpr int IdentityRole = Qt::UserRole + 2;
    // Whether the row's message was sent as urgent, and whether its addressee has handled it
    // (booleans). The text shows them: red for urgent, grey for handled (which wins: the
    // urgency is over).
    static constexpr int UrgentRole = Qt::UserRole + 3;
    static constexpr int HandledRole = Qt::UserRole + 4;

    explicit SpreadModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    QString header(GridColumn column) const;
    void setHeader(GridColumn column, const QString& text);

    // An empty row for one outside the grid.
    const GridRow& row(int row) const;
    // Writes outside the grid are ignored.
    void setRow(int row, GridRow cells);
    void appendRow(GridRow cells);
    // Marks the row's message handled or not; a row outside the grid is ignored.
    void setHandled(int row, bool handled);

    // Truncates, or pads with empty rows.
    void setRowCount(int rows);
    // Empties every row; the rows and the headers stay.
    void clearRows();
    // Reorders the rows ascending by the key column, whole rows moving; stable. Rows that are
    // empty stay below the others; among the rest an empty key comes first. The number column
    // compares the rows' numbers, a number before a text that is none.
    void sortRows(GridColumn key);

    // While a batch is open, changes go to the storage without notifications; closing the
    // outermost batch resets the views once.
    void beginBatch();
    void endBatch();
    bool inBatch() const { return batchDepth_ > 0; }

private:
    QString headers_[kGridColumns];
    // A deque grows in blocks of a few rows and never moves the rows it holds, so the rows of
    // a large listing are made from the memory the listing frees as the grid takes it. (A
    // vector, which grows by moving into one ever larger block, raised the peak with 100,000
    // listed rows from 84.8 to 104 MB.)
    std::deque<GridRow> rows_;
    int batchDepth_ = 0;
};
