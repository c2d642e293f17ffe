#pragma once

#include <QStringList>
#include <QTableView>

#include <cstdint>
#include <optional>

#include "ui/main/grid_row.h"

class SpreadModel;

// The message grid: one row per listed message over the named columns of GridColumn, the
// message number kept as the row's data. Rows are counted from 1, as the window's click
// events count them; row 0 is the column-header row. A model over plain rows, so that
// 100,000 rows list without stalling; column 1 shows a "削除" button in every data row, drawn
// by a delegate.
class SpreadGrid : public QTableView {
    Q_OBJECT
    // Design data, set from the window's form.
    Q_PROPERTY(QStringList columnHeaders READ columnHeaders WRITE setColumnHeaders)
    Q_PROPERTY(QStringList columnWidths READ columnWidths WRITE setColumnWidths)
    Q_PROPERTY(double rowHeaderWidth READ rowHeaderWidth WRITE setRowHeaderWidth)
    Q_PROPERTY(QStringList sampleRow READ sampleRow WRITE setSampleRow)
    Q_PROPERTY(int rowCount READ rowCount WRITE setRowCount)

public:
    explicit SpreadGrid(QWidget* parent = nullptr);
    ~SpreadGrid() override;

    // The column a click event's column number names; none for the row headers (0) or
    // beyond the last column.
    static std::optional<GridColumn> columnAt(int col);

    // Design data. Widths are in characters: the row headers' and the columns' designed widths
    // share the view's width in proportion, less a vertical scroll bar, each column at least
    // wide enough for its designed texts (its header; the sample of a date-time or date
    // column; the "削除" button).
    QStringList columnHeaders() const;
    void setColumnHeaders(const QStringList& headers);  // one per column, from column 1
    QStringList columnWidths() const;
    void setColumnWidths(const QStringList& widthsInCharacters);
    double rowHeaderWidth() const;
    void setRowHeaderWidth(double widthInCharacters);
    QStringList sampleRow() const;
    void setSampleRow(const QStringList& texts);  // row 1's texts, from column 1

    // The operations the window performs.
    int rowCount() const;
    void setRowCount(int rows);  // drops rows from the end, or adds empty ones
    void clear();                // every row empty; the rows and the headers stay
    void appendRow(GridRow row);
    QString text(GridColumn column, int row) const;     // "" for an empty cell or no such row
    std::optional<std::int64_t> number(int row) const;  // the message the row stands for
    void removeRow(int row);                            // the rows below move up by one
    bool handled(int row) const;                        // the row's message is handled
    void setHandled(int row, bool handled);
    void sortBy(GridColumn column);  // ascending, whole rows moving, empty rows below
    QString header(GridColumn column) const;
    void setNameHeader(const QString& text);  // column 6: whose name the rows show

    // Holds back the view's updates while many rows are written, for one refresh at the end.
    class Batch {
    public:
        explicit Batch(SpreadGrid& grid);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SpreadGrid& grid_;
    };

signals:
    // A single or double click on a cell; row 0 for a header cell, column 0 for a row header.
    void Click(int Col, int Row);
    void DblClick(int Col, int Row);
    // A right click (or the menu key) on a data row, and where its menu goes on the screen.
    void ContextMenu(int Row, const QPoint& globalPos);

private:
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void applyWidths();
    int neededWidth(int section) const;

    SpreadModel* model_;
    QStringList widths_;
    QStringList sample_;
    double rowHeaderWidth_ = 0;
};
