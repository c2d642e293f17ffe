#include "ui/main/spread_grid.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <cmath>

#include "ui/main/delete_button_delegate.h"
#include "ui/main/spread_model.h"

SpreadGrid::SpreadGrid(QWidget* parent) : QTableView(parent), model_(new SpreadModel(this)) {
    setModel(model_);
    setItemDelegateForColumn(0, new DeleteButtonDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    // A text longer than its cell is cut at the cell's edge: the beginning of a telephone
    // number tells more than an ellipsis.
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setTextElideMode(Qt::ElideNone);
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

std::optional<GridColumn> SpreadGrid::columnAt(int col) {
    if (col < 1 || col > kGridColumns) {
        return std::nullopt;
    }
    return GridColumn(col);
}

// ---- Design data ----

QStringList SpreadGrid::columnHeaders() const {
    QStringList headers;
    for (int c = 1; c <= kGridColumns; ++c) {
        headers.append(model_->header(GridColumn(c)));
    }
    return headers;
}

void SpreadGrid::setColumnHeaders(const QStringList& headers) {
    for (int c = 1; c <= kGridColumns; ++c) {
        model_->setHeader(GridColumn(c), headers.value(c - 1));
    }
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
    if (rowCount() < 1) {
        setRowCount(1);
    }
    GridRow row;
    for (int c = 1; c <= std::min(int(texts.size()), kGridColumns); ++c) {
        row.setText(GridColumn(c), texts.at(c - 1));
    }
    model_->setRow(0, std::move(row));
}

// A width in characters counts half-width characters of the grid's (fixed-pitch) font, as the
// font draws them (hinting included). A column gets one character more than its designed
// count, so that the texts it was designed for fit whole: 13 characters hold a date-time
// "YY/MM/DD HH:MM", 6 the header "受付NO". The cell's own margins on both sides (the larger of
// an item's text margin and a header section's margin) and the grid line come on top.
int SpreadGrid::pixelsFor(double characters) const {
    const double perCharacter = QFontMetricsF(font()).horizontalAdvance(QLatin1Char('0'));
    const int itemMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int headerMargin =
        style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
    const int gridLine = showGrid() ? 1 : 0;
    return int(std::ceil((characters + 1) * perCharacter)) +
           2 * std::max(itemMargin, headerMargin) + gridLine;
}

void SpreadGrid::applyWidths() {
    const int n = std::min(int(widths_.size()), kGridColumns);
    for (int c = 0; c < n; ++c) {
        bool ok = false;
        const double characters = widths_.at(c).trimmed().toDouble(&ok);
        if (ok && characters > 0) {
            setColumnWidth(c, pixelsFor(characters));
        } else if (ok && characters == 0) {
            setColumnWidth(c, 0);
        }
    }
    if (rowHeaderWidth_ > 0) {
        verticalHeader()->setFixedWidth(pixelsFor(rowHeaderWidth_));
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

// ---- Operations ----

int SpreadGrid::rowCount() const {
    return model_->rowCount();
}

void SpreadGrid::setRowCount(int rows) {
    model_->setRowCount(rows);
}

void SpreadGrid::clear() {
    model_->clearRows();
}

void SpreadGrid::appendRow(GridRow row) {
    model_->appendRow(std::move(row));
}

QString SpreadGrid::text(GridColumn column, int row) const {
    return model_->row(row - 1).shown(column);
}

std::optional<std::int64_t> SpreadGrid::number(int row) const {
    const QVariant number =
        model_->index(row - 1, int(GridColumn::Number) - 1).data(SpreadModel::NumberRole);
    return number.isValid() ? std::optional<std::int64_t>(number.toLongLong()) : std::nullopt;
}

void SpreadGrid::removeRow(int row) {
    model_->removeRows(row - 1, 1);
}

void SpreadGrid::sortBy(GridColumn column) {
    model_->sortRows(column);
}

QString SpreadGrid::header(GridColumn column) const {
    return model_->header(column);
}

void SpreadGrid::setNameHeader(const QString& text) {
    model_->setHeader(GridColumn::Name, text);
}

// ---- Batch ----

SpreadGrid::Batch::Batch(SpreadGrid& grid) : grid_(grid) {
    grid_.model_->beginBatch();
}

SpreadGrid::Batch::~Batch() {
    grid_.model_->endBatch();
}
