#pragma once

#include <QStringList>
#include <QTableView>
#include <QVector>

class SpreadModel;

// The message grid: a spreadsheet-style grid driven the way the program has always driven it,
// by placing a cursor (a cell or a block) and then reading, writing or acting on it.
// Cells are addressed from 1; row 0 is the column-header row. A model over plain rows, so
// that 100,000 rows list without stalling; column 1 shows a "削除" button in every data row,
// drawn by a delegate.
class SpreadGrid : public QTableView {
    Q_OBJECT
    // Design data, set from the window's form.
    Q_PROPERTY(QStringList columnHeaders READ columnHeaders WRITE setColumnHeaders)
    Q_PROPERTY(QStringList columnWidths READ columnWidths WRITE setColumnWidths)
    Q_PROPERTY(double rowHeaderWidth READ rowHeaderWidth WRITE setRowHeaderWidth)
    Q_PROPERTY(QStringList sampleRow READ sampleRow WRITE setSampleRow)
    Q_PROPERTY(int MaxRows READ MaxRows WRITE setMaxRows)
    // Columns (from 1) whose texts sort as numbers; none by default.
    Q_PROPERTY(QStringList numericColumns READ numericColumns WRITE setNumericColumns)

public:
    explicit SpreadGrid(QWidget* parent = nullptr);
    ~SpreadGrid() override;

    // Design data. Widths are in characters of the grid's font.
    QStringList columnHeaders() const;
    void setColumnHeaders(const QStringList& headers);  // also sets MaxCols
    QStringList columnWidths() const;
    void setColumnWidths(const QStringList& widthsInCharacters);
    double rowHeaderWidth() const;
    void setRowHeaderWidth(double widthInCharacters);
    QStringList sampleRow() const;
    void setSampleRow(const QStringList& texts);  // written into row 1, columns 1..n
    QStringList numericColumns() const;
    void setNumericColumns(const QStringList& columns);  // e.g. {"8"}

    // The grid's members.
    int MaxRows() const;
    void setMaxRows(int rows);  // 0 drops every data row; MaxRows + 1 appends one empty row
    int MaxCols() const;
    void setCol(int col);
    void setRow(int row);
    void setCol2(int col);
    void setRow2(int row);
    int Col() const { return col_; }
    int Row() const { return row_; }
    void setBlockMode(bool on);
    QString Text() const;               // text of the cursor cell; "" when empty
    void setText(const QString& text);  // row 0 writes the header
    void setAction(int action);  // 3 clear the block, 5 delete the cursor row, 25 sort the block
    void setSortBy(int sortBy);  // 0: a sort reorders rows
    void setSortKey(int index, int column);
    void setSortKeyOrder(int index, int order);  // 1 ascending

    // The five fixed sequences.
    void blockClear();  // every data cell empty; headers and MaxRows stay
    void rowAppend();   // MaxRows + 1, cursor on the new row
    void cellWrite(int col, const QString& text);  // at the cursor row
    QString cellText(int col, int row);            // places the cursor and reads Text
    void rowDelete(int row);                       // rows below move up by one
    void columnSort(int col);                      // data rows ascending by col, whole rows moving

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

    SpreadModel* spreadModel() const { return model_; }

signals:
    // A single or double click on a cell; row 0 for a header cell, column 0 for a row header.
    void Click(int Col, int Row);
    void DblClick(int Col, int Row);

private:
    void changeEvent(QEvent* event) override;
    void applyWidths();
    double characterWidth() const;
    bool inRange(int col, int row) const;

    SpreadModel* model_;
    int col_ = 1, row_ = 1, col2_ = 1, row2_ = 1;
    bool blockMode_ = false;
    int sortBy_ = 0, sortKey_ = 1, sortKeyOrder_ = 1;
    QStringList widths_;
    QStringList sample_;
    QVector<int> numericColumns_;
    double rowHeaderWidth_ = 0;
    int batchDepth_ = 0;
};
