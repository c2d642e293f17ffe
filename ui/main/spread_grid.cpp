#include "ui/main/spread_grid.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/main/column_fit.h"
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
    // A refill after a batch resets the model; the widths stay as designed, the row headers wide
    // enough for the new last row's number.
    connect(model_, &QAbstractItemModel::modelReset, this, &SpreadGrid::applyWidths);
    // A column's header is one of the texts its width must hold.
    connect(model_, &QAbstractItemModel::headerDataChanged, this, &SpreadGrid::applyWidths);
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
    applyWidths();
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

namespace {

// Columns whose texts all have the form of their design sample (a date-time, a date): the
// sample shows whole. The other samples stand for texts of any length, which a cell cuts at its
// edge.
bool showsSampleWhole(GridColumn column) {
    return column == GridColumn::DateTime || column == GridColumn::Read;
}

int widthOf(const QFont& font, const QString& text) {
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

}  // namespace

// The narrowest a column can be with its designed texts whole, in the view's own fonts and
// with the style's margins: its header, the sample of a column of one form, the "削除" button.
// The row headers (section -1) hold the last row's number.
int SpreadGrid::neededWidth(int section) const {
    if (section < 0) {
        const QHeaderView* rows = verticalHeader();
        return widthOf(rows->font(), QString::number(std::max(rowCount(), 1))) +
               2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, rows);
    }
    const QHeaderView* header = horizontalHeader();
    const GridColumn column = GridColumn(section + 1);
    const int headerMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int need = widthOf(header->font(), model_->header(column)) + 2 * headerMargin;
    // A cell's text keeps a margin on both sides; the grid line takes the cell's last pixel.
    const int cellMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int gridLine = showGrid() ? 1 : 0;
    if (showsSampleWhole(column)) {
        need = std::max(need, widthOf(font(), sample_.value(section)) + 2 * cellMargin + gridLine);
    }
    if (column == GridColumn::Delete) {
        need = std::max(need, DeleteButtonDelegate::cellWidth(this) + gridLine);
    }
    return need;
}

// The designed widths in characters share the view's width, less its frame and a vertical
// scroll bar, so that every column and the row headers show without a sideways scroll: one
// character is the view's width over all designed characters (about 7.4 pixels in the main
// window). A column that its share leaves too narrow for its designed texts takes what they
// need from the others. Columns without a usable width keep theirs, outside the share.
void SpreadGrid::applyWidths() {
    const int n = std::min(int(widths_.size()), kGridColumns);
    std::vector<int> sections;  // -1 for the row headers
    std::vector<double> shares;
    std::vector<int> needs;
    int width = this->width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
    if (rowHeaderWidth_ > 0) {
        sections.push_back(-1);
        shares.push_back(rowHeaderWidth_);
        needs.push_back(neededWidth(-1));
    }
    for (int c = 0; c < model_->columnCount(); ++c) {
        bool ok = false;
        const double characters = c < n ? widths_.at(c).trimmed().toDouble(&ok) : 0;
        if (ok && characters == 0) {
            setColumnWidth(c, 0);
        } else if (ok && characters > 0) {
            sections.push_back(c);
            shares.push_back(characters);
            needs.push_back(neededWidth(c));
        } else {
            width -= columnWidth(c);
        }
    }
    const std::vector<int> pixels = fitColumns(shares, needs, width);
    for (size_t i = 0; i < sections.size(); ++i) {
        if (sections[i] < 0) {
            verticalHeader()->setFixedWidth(pixels[i]);
        } else {
            setColumnWidth(sections[i], pixels[i]);
        }
    }
    // Rows one line of the grid's font high, as a spreadsheet shows them.
    const int rowHeight = int(std::ceil(QFontMetricsF(font()).height())) + 6;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void SpreadGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyWidths();
}

void SpreadGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        applyWidths();
    }
}

void SpreadGrid::contextMenuEvent(QContextMenuEvent* event) {
    // From the mouse, the row under it (the event comes through the viewport, in its
    // coordinates); from the menu key, the current row.
    const QModelIndex at =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!at.isValid()) {
        return;
    }
    selectRow(at.row());
    emit ContextMenu(at.row() + 1, event->globalPos());
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

bool SpreadGrid::handled(int row) const {
    return model_->row(row - 1).handled();
}

void SpreadGrid::setHandled(int row, bool handled) {
    model_->setHandled(row - 1, handled);
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
