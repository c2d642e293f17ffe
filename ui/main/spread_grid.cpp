#include "ui/main/spread_grid.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>

#include <algorithm>
#include <cmath>

#include "ui/main/delete_button_delegate.h"
#include "ui/main/spread_model.h"

namespace {

// The grid's actions.
constexpr int kActionClearBlock = 3;
constexpr int kActionDeleteRow = 5;
constexpr int kActionSort = 25;

}  // namespace

SpreadGrid::SpreadGrid(QWidget* parent) : QTableView(parent), model_(new SpreadModel(this)) {
    setModel(model_);
    setItemDelegateForColumn(0, new DeleteButtonDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(true);

    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& at) { emit Click(at.column() + 1, at.row() + 1); });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& at) { emit DblClick(at.column() + 1, at.row() + 1); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit Click(section + 1, 0); });
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { emit DblClick(section + 1, 0); });
    connect(verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit Click(0, section + 1); });
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int section) { emit DblClick(0, section + 1); });
    // A refill after a batch resets the model; the widths stay as designed.
    connect(model_, &QAbstractItemModel::modelReset, this, &SpreadGrid::applyWidths);
}

SpreadGrid::~SpreadGrid() = default;

// ---- Design data ----

QStringList SpreadGrid::columnHeaders() const {
    return model_->headers();
}

void SpreadGrid::setColumnHeaders(const QStringList& headers) {
    const bool firstColumns = MaxCols() == 0;
    model_->setHeaders(headers);
    if (firstColumns && !sample_.isEmpty()) {
        // The sample row came before the columns it goes into.
        setSampleRow(sample_);
    }
    applyWidths();
}

QStringList SpreadGrid::columnWidths() const {
    return widths_;
}

void SpreadGrid::setColumnWidths(const QStringList& widthsInCharacters) {
    widths_ = widthsInCharacters;
    applyWidths();
}

double SpreadGrid::rowHeaderWidth() const {
    return rowHeaderWidth_;
}

void SpreadGrid::setRowHeaderWidth(double widthInCharacters) {
    rowHeaderWidth_ = widthInCharacters;
    applyWidths();
}

QStringList SpreadGrid::sampleRow() const {
    return sample_;
}

void SpreadGrid::setSampleRow(const QStringList& texts) {
    sample_ = texts;
    if (texts.isEmpty()) {
        return;
    }
    if (MaxRows() < 1) {
        setMaxRows(1);
    }
    const int n = std::min(int(texts.size()), MaxCols());
    for (int c = 0; c < n; ++c) {
        model_->setText(0, c, texts.at(c));
    }
}

QStringList SpreadGrid::numericColumns() const {
    QStringList columns;
    for (int col : numericColumns_) {
        columns.append(QString::number(col));
    }
    return columns;
}

void SpreadGrid::setNumericColumns(const QStringList& columns) {
    numericColumns_.clear();
    for (const QString& text : columns) {
        bool ok = false;
        const int col = text.trimmed().toInt(&ok);
        if (ok && col > 0 && !numericColumns_.contains(col)) {
            numericColumns_.append(col);
        }
    }
}

double SpreadGrid::characterWidth() const {
    // Widths are counted in half-width characters of the grid's (fixed-pitch) face.
    return QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
}

void SpreadGrid::applyWidths() {
    const double perCharacter = characterWidth();
    const int n = std::min(int(widths_.size()), MaxCols());
    for (int c = 0; c < n; ++c) {
        bool ok = false;
        const double characters = widths_.at(c).trimmed().toDouble(&ok);
        if (ok && characters >= 0) {
            setColumnWidth(c, int(std::lround(characters * perCharacter)));
        }
    }
    if (rowHeaderWidth_ > 0) {
        verticalHeader()->setFixedWidth(int(std::lround(rowHeaderWidth_ * perCharacter)));
    }
    // Rows one line of the grid's font high, as a spreadsheet shows them.
    const int rowHeight = int(std::ceil(QFontMetricsF(font()).height())) + 6;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void SpreadGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        applyWidths();
    }
}

// ---- The cursor ----

int SpreadGrid::MaxRows() const {
    return model_->rowCount();
}

void SpreadGrid::setMaxRows(int rows) {
    model_->setRowCount(std::max(rows, 0));
}

int SpreadGrid::MaxCols() const {
    return model_->columnCount();
}

void SpreadGrid::setCol(int col) {
    col_ = col;
}

void SpreadGrid::setRow(int row) {
    row_ = row;
}

void SpreadGrid::setCol2(int col) {
    col2_ = col;
}

void SpreadGrid::setRow2(int row) {
    row2_ = row;
}

void SpreadGrid::setBlockMode(bool on) {
    blockMode_ = on;
}

bool SpreadGrid::inRange(int col, int row) const {
    return col >= 1 && col <= MaxCols() && row >= 0 && row <= MaxRows();
}

QString SpreadGrid::Text() const {
    if (!inRange(col_, row_)) {
        return {};
    }
    return row_ == 0 ? model_->header(col_ - 1) : model_->text(row_ - 1, col_ - 1);
}

void SpreadGrid::setText(const QString& text) {
    if (!inRange(col_, row_)) {
        return;
    }
    if (row_ == 0) {
        model_->setHeader(col_ - 1, text);
    } else {
        model_->setText(row_ - 1, col_ - 1, text);
    }
}

void SpreadGrid::setAction(int action) {
    switch (action) {
        case kActionClearBlock:
            if (blockMode_) {
                // The header row is not part of a block's cells.
                model_->clearBlock(std::max(std::min(row_, row2_), 1) - 1,
                                   std::max(std::min(col_, col2_), 1) - 1,
                                   std::max(row_, row2_) - 1, std::max(col_, col2_) - 1);
            } else if (row_ >= 1) {
                model_->clearBlock(row_ - 1, col_ - 1, row_ - 1, col_ - 1);
            }
            break;
        case kActionDeleteRow:
            if (row_ >= 1 && row_ <= MaxRows()) {
                model_->removeRows(row_ - 1, 1);
            }
            break;
        case kActionSort: {
            if (sortBy_ != 0 || sortKey_ < 1 || sortKey_ > MaxCols()) {
                break;
            }
            const int first = std::max(std::min(row_, row2_), 1);
            const int last = std::max(row_, row2_);
            model_->sortRows(first - 1, last - 1, sortKey_ - 1, sortKeyOrder_ == 1,
                             numericColumns_.contains(sortKey_));
            break;
        }
        default:
            break;
    }
}

void SpreadGrid::setSortBy(int sortBy) {
    sortBy_ = sortBy;
}

void SpreadGrid::setSortKey(int index, int column) {
    // One key is all the program uses.
    if (index == 1) {
        sortKey_ = column;
    }
}

void SpreadGrid::setSortKeyOrder(int index, int order) {
    if (index == 1) {
        sortKeyOrder_ = order;
    }
}

// ---- The fixed sequences ----

void SpreadGrid::blockClear() {
    setRow(1);
    setCol(1);
    setRow2(MaxRows());
    setCol2(MaxCols());
    setBlockMode(true);
    setAction(kActionClearBlock);
    setBlockMode(false);
}

void SpreadGrid::rowAppend() {
    setMaxRows(MaxRows() + 1);
    setRow(MaxRows());
}

void SpreadGrid::cellWrite(int col, const QString& text) {
    setCol(col);
    setText(text);
}

QString SpreadGrid::cellText(int col, int row) {
    setCol(col);
    setRow(row);
    return Text();
}

void SpreadGrid::rowDelete(int row) {
    setRow(row);
    setAction(kActionDeleteRow);
}

void SpreadGrid::columnSort(int col) {
    setRow(1);
    setCol(1);
    setRow2(MaxRows());
    setCol2(MaxCols());
    setBlockMode(true);
    setSortBy(0);
    setSortKey(1, col);
    setSortKeyOrder(1, 1);
    setAction(kActionSort);
    setBlockMode(false);
}

// ---- Batch ----

SpreadGrid::Batch::Batch(SpreadGrid& grid) : grid_(grid) {
    ++grid_.batchDepth_;
    grid_.model_->beginBatch();
}

SpreadGrid::Batch::~Batch() {
    --grid_.batchDepth_;
    grid_.model_->endBatch();
}
