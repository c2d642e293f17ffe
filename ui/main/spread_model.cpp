#include "ui/main/spread_model.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {

// A sort key: where the cell's text lies in the sort's text pool and, in a numeric column, the
// number it reads as. The keys' texts are copied side by side into one pool first, so that
// the many comparisons of a large sort read one compact block instead of texts spread over
// the heap.
struct SortKey {
    size_t offset;
    qsizetype length;
    std::optional<double> number;
};

SortKey keyOf(const QString& text, bool numeric, std::vector<char16_t>& pool) {
    SortKey key{pool.size(), text.size(), std::nullopt};
    pool.insert(pool.end(), text.utf16(), text.utf16() + text.size());
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
int compareKeys(const SortKey& a, const SortKey& b, const char16_t* pool) {
    if (a.length == 0 || b.length == 0) {
        return int(a.length != 0) - int(b.length != 0);
    }
    if (a.number && b.number) {
        return *a.number < *b.number ? -1 : (*b.number < *a.number ? 1 : 0);
    }
    if (a.number || b.number) {
        return a.number ? -1 : 1;
    }
    return QStringView(pool + a.offset, a.length)
        .compare(QStringView(pool + b.offset, b.length), Qt::CaseSensitive);
}

}  // namespace

SpreadModel::SpreadModel(QObject* parent) : QAbstractTableModel(parent) {}

int SpreadModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cells_.rows();
}

int SpreadModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cells_.cols();
}

QVariant SpreadModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    if (index.row() >= cells_.rows() || index.column() >= cells_.cols()) {
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
    if (parent.isValid() || row < 0 || count <= 0 || row + count > cells_.rows()) {
        return false;
    }
    if (!inBatch()) {
        beginRemoveRows(QModelIndex(), row, row + count - 1);
    }
    cells_.eraseRows(row, count);
    if (!inBatch()) {
        endRemoveRows();
    }
    return true;
}

void SpreadModel::setHeaders(const QStringList& headers) {
    const int newCols = int(headers.size());
    if (newCols == cells_.cols()) {
        headers_ = headers;
        if (!inBatch() && cells_.cols() > 0) {
            emit headerDataChanged(Qt::Horizontal, 0, cells_.cols() - 1);
        }
        return;
    }
    if (!inBatch()) {
        beginResetModel();
    }
    cells_.setCols(newCols);
    headers_ = headers;
    if (!inBatch()) {
        endResetModel();
    }
}

QString SpreadModel::header(int col) const {
    return col >= 0 && col < cells_.cols() ? headers_.at(col) : QString();
}

void SpreadModel::setHeader(int col, const QString& text) {
    if (col < 0 || col >= cells_.cols()) {
        return;
    }
    headers_[col] = text;
    if (!inBatch()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    }
}

QString SpreadModel::text(int row, int col) const {
    if (row < 0 || row >= cells_.rows() || col < 0 || col >= cells_.cols()) {
        return {};
    }
    return rowCells(row)[col];
}

void SpreadModel::setText(int row, int col, const QString& text) {
    if (row < 0 || row >= cells_.rows() || col < 0 || col >= cells_.cols()) {
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
    if (rows > cells_.rows()) {
        appendRows(rows - cells_.rows());
    } else if (rows < cells_.rows()) {
        removeRows(rows, cells_.rows() - rows);
    }
}

void SpreadModel::appendRows(int count) {
    if (count <= 0) {
        return;
    }
    if (!inBatch()) {
        beginInsertRows(QModelIndex(), cells_.rows(), cells_.rows() + count - 1);
    }
    cells_.resizeRows(cells_.rows() + count);
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
    row2 = std::min(row2, cells_.rows() - 1);
    col2 = std::min(col2, cells_.cols() - 1);
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
    return std::all_of(cells, cells + cells_.cols(), [](const QString& s) { return s.isEmpty(); });
}

void SpreadModel::sortRows(int first, int last, int keyCol, bool ascending, bool numeric) {
    if (first > last) {
        std::swap(first, last);
    }
    first = std::max(first, 0);
    last = std::min(last, cells_.rows() - 1);
    if (first >= last || keyCol < 0 || keyCol >= cells_.cols()) {
        return;
    }

    // order[i]: the old row that ends up at first + i.
    const int n = last - first + 1;
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), first);
    std::vector<char> empty(n);
    std::vector<SortKey> keys;
    keys.reserve(n);
    std::vector<char16_t> pool;
    for (int i = 0; i < n; ++i) {
        empty[i] = rowIsEmpty(first + i);
        keys.push_back(keyOf(rowCells(first + i)[keyCol], numeric, pool));
    }
    const auto listedEnd = std::stable_partition(order.begin(), order.end(),
                                                 [&](int row) { return !empty[row - first]; });
    std::stable_sort(order.begin(), listedEnd, [&](int a, int b) {
        const int c = compareKeys(keys[a - first], keys[b - first], pool.data());
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
    std::vector<QString> sorted(static_cast<size_t>(n) * cells_.cols());
    for (int i = 0; i < n; ++i) {
        const QString* from = rowCells(order[i]);
        std::move(from, from + cells_.cols(), sorted.begin() + std::ptrdiff_t(i) * cells_.cols());
    }
    for (int i = 0; i < n; ++i) {
        const auto from = sorted.begin() + std::ptrdiff_t(i) * cells_.cols();
        std::move(from, from + cells_.cols(), rowCells(first + i));
    }
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
