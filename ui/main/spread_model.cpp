#include "ui/main/spread_model.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// A sort key: the cell's text and, in a numeric column, the number it reads as.
struct SortKey {
    const QString* text;
    std::optional<double> number;
};

SortKey keyOf(const QString& text, bool numeric) {
    SortKey key{&text, std::nullopt};
    if (numeric && !text.isEmpty()) {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (ok) {
            key.number = value;
        }
    }
    return key;
}

// Negative, zero or positive, as a before, equal to or after b. Empty texts come first;
// numbers come before texts that are not numbers.
int compareKeys(const SortKey& a, const SortKey& b) {
    if (a.text->isEmpty() || b.text->isEmpty()) {
        return int(!a.text->isEmpty()) - int(!b.text->isEmpty());
    }
    if (a.number && b.number) {
        return *a.number < *b.number ? -1 : (*b.number < *a.number ? 1 : 0);
    }
    if (a.number || b.number) {
        return a.number ? -1 : 1;
    }
    return QString::compare(*a.text, *b.text, Qt::CaseSensitive);
}

}  // namespace

SpreadModel::SpreadModel(QObject* parent) : QAbstractTableModel(parent) {}

int SpreadModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int SpreadModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

QVariant SpreadModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    if (index.row() >= rows_ || index.column() >= cols_) {
        return {};
    }
    return rowCells(index.row())[index.column()];
}

QVariant SpreadModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) {
            return section + 1;
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        }
        return {};
    }
    if (role == Qt::DisplayRole) {
        return header(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags SpreadModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool SpreadModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rows_) {
        return false;
    }
    if (!inBatch()) {
        beginRemoveRows(QModelIndex(), row, row + count - 1);
    }
    const auto first = cells_.begin() + static_cast<ptrdiff_t>(row) * cols_;
    cells_.erase(first, first + static_cast<ptrdiff_t>(count) * cols_);
    rows_ -= count;
    if (!inBatch()) {
        endRemoveRows();
    }
    return true;
}

void SpreadModel::setHeaders(const QStringList& headers) {
    const int newCols = int(headers.size());
    if (newCols == cols_) {
        headers_ = headers;
        if (!inBatch() && cols_ > 0) {
            emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
        }
        return;
    }
    if (!inBatch()) {
        beginResetModel();
    }
    std::vector<QString> cells(static_cast<size_t>(rows_) * newCols);
    const int kept = std::min(cols_, newCols);
    for (int r = 0; r < rows_; ++r) {
        QString* from = rowCells(r);
        QString* to = cells.data() + static_cast<size_t>(r) * newCols;
        std::move(from, from + kept, to);
    }
    cells_ = std::move(cells);
    cols_ = newCols;
    headers_ = headers;
    if (!inBatch()) {
        endResetModel();
    }
}

QString SpreadModel::header(int col) const {
    return col >= 0 && col < cols_ ? headers_.at(col) : QString();
}

void SpreadModel::setHeader(int col, const QString& text) {
    if (col < 0 || col >= cols_) {
        return;
    }
    headers_[col] = text;
    if (!inBatch()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    }
}

QString SpreadModel::text(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return {};
    }
    return rowCells(row)[col];
}

void SpreadModel::setText(int row, int col, const QString& text) {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) {
        return;
    }
    rowCells(row)[col] = text;
    if (!inBatch()) {
        const QModelIndex at = index(row, col);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

void SpreadModel::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows > rows_) {
        appendRows(rows - rows_);
    } else if (rows < rows_) {
        removeRows(rows, rows_ - rows);
    }
}

void SpreadModel::reserveRows(int rows) {
    if (rows > 0) {
        cells_.reserve(static_cast<size_t>(rows) * cols_);
    }
}

void SpreadModel::appendRows(int count) {
    if (count <= 0) {
        return;
    }
    if (!inBatch()) {
        beginInsertRows(QModelIndex(), rows_, rows_ + count - 1);
    }
    rows_ += count;
    cells_.resize(static_cast<size_t>(rows_) * cols_);
    if (!inBatch()) {
        endInsertRows();
    }
}

void SpreadModel::clearBlock(int row1, int col1, int row2, int col2) {
    if (row1 > row2) {
        std::swap(row1, row2);
    }
    if (col1 > col2) {
        std::swap(col1, col2);
    }
    row1 = std::max(row1, 0);
    col1 = std::max(col1, 0);
    row2 = std::min(row2, rows_ - 1);
    col2 = std::min(col2, cols_ - 1);
    if (row1 > row2 || col1 > col2) {
        return;
    }
    for (int r = row1; r <= row2; ++r) {
        QString* cells = rowCells(r);
        for (int c = col1; c <= col2; ++c) {
            cells[c].clear();
        }
    }
    if (!inBatch()) {
        emit dataChanged(index(row1, col1), index(row2, col2), {Qt::DisplayRole});
    }
}

bool SpreadModel::rowIsEmpty(int row) const {
    const QString* cells = rowCells(row);
    return std::all_of(cells, cells + cols_, [](const QString& s) { return s.isEmpty(); });
}

void SpreadModel::sortRows(int first, int last, int keyCol, bool ascending, bool numeric) {
    if (first > last) {
        std::swap(first, last);
    }
    first = std::max(first, 0);
    last = std::min(last, rows_ - 1);
    if (first >= last || keyCol < 0 || keyCol >= cols_) {
        return;
    }

    // order[i]: the old row that ends up at first + i.
    const int n = last - first + 1;
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), first);
    std::vector<char> empty(n);
    std::vector<SortKey> keys;
    keys.reserve(n);
    for (int i = 0; i < n; ++i) {
        empty[i] = rowIsEmpty(first + i);
        keys.push_back(keyOf(rowCells(first + i)[keyCol], numeric));
    }
    const auto listedEnd = std::stable_partition(order.begin(), order.end(),
                                                 [&](int row) { return !empty[row - first]; });
    std::stable_sort(order.begin(), listedEnd, [&](int a, int b) {
        const int c = compareKeys(keys[a - first], keys[b - first]);
        return ascending ? c < 0 : c > 0;
    });
    bool moved = false;
    for (int i = 0; i < n && !moved; ++i) {
        moved = order[i] != first + i;
    }
    if (!moved) {
        return;
    }

    if (!inBatch()) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    std::vector<QString> sorted(static_cast<size_t>(n) * cols_);
    for (int i = 0; i < n; ++i) {
        QString* from = rowCells(order[i]);
        std::move(from, from + cols_, sorted.data() + static_cast<size_t>(i) * cols_);
    }
    std::move(sorted.begin(), sorted.end(), rowCells(first));
    if (!inBatch()) {
        // Indexes the views hold follow their rows.
        std::vector<int> newRowOf(n);
        for (int i = 0; i < n; ++i) {
            newRowOf[order[i] - first] = first + i;
        }
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& at : before) {
            const int row = at.row();
            after.append(row >= first && row <= last ? index(newRowOf[row - first], at.column())
                                                     : at);
        }
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}

void SpreadModel::beginBatch() {
    if (batchDepth_++ == 0) {
        beginResetModel();
    }
}

void SpreadModel::endBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) {
        endResetModel();
    }
}
