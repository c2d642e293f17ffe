#include "ui/main/spread_model.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {

GridColumn columnAt(int section) {
    return GridColumn(section + 1);
}

// A sort key: where the cell's text lies in the sort's text pool and, in the number column,
// the row's number. The keys' texts are copied side by side into one pool first, so that
// the many comparisons of a large sort read one compact block instead of texts spread over
// the heap.
struct SortKey {
    size_t offset;
    qsizetype length;
    std::optional<std::int64_t> number;
};

SortKey keyOf(const GridRow& row, GridColumn column, std::vector<char16_t>& pool) {
    const QString& text = row.text(column);
    SortKey key{pool.size(), text.size(), std::nullopt};
    if (column == GridColumn::Number) {
        key.number = row.number();
    }
    pool.insert(pool.end(), text.utf16(), text.utf16() + text.size());
    return key;
}

// Negative, zero or positive, as a before, equal to or after b. Empty keys come first;
// numbers come before texts.
int compareKeys(const SortKey& a, const SortKey& b, const char16_t* pool) {
    if (a.number && b.number) {
        return *a.number < *b.number ? -1 : (*b.number < *a.number ? 1 : 0);
    }
    const bool aEmpty = !a.number && a.length == 0;
    const bool bEmpty = !b.number && b.length == 0;
    if (aEmpty || bEmpty) {
        return int(!aEmpty) - int(!bEmpty);
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
    return parent.isValid() ? 0 : int(rows_.size());
}

int SpreadModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant SpreadModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= kGridColumns) {
        return {};
    }
    const GridRow& cells = rows_[size_t(index.row())];
    if (role == Qt::DisplayRole) {
        return cells.shown(columnAt(index.column()));
    }
    if (role == NumberRole) {
        const std::optional<std::int64_t> number = cells.number();
        return number ? QVariant::fromValue(qint64(*number)) : QVariant();
    }
    if (role == IdentityRole) {
        return cells.number() ? QVariant::fromValue(quint64(cells.identity())) : QVariant();
    }
    if (role == UrgentRole) {
        return cells.urgent();
    }
    if (role == HandledRole) {
        return cells.handled();
    }
    if (role == Qt::ForegroundRole) {
        if (cells.handled()) {
            return QBrush(QColor(0x80, 0x80, 0x80));
        }
        if (cells.urgent()) {
            return QBrush(QColor(0xd0, 0x00, 0x00));
        }
    }
    return {};
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
        return section >= 0 && section < kGridColumns ? headers_[section] : QString();
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
    if (parent.isValid() || row < 0 || count <= 0 || row + count > int(rows_.size())) {
        return false;
    }
    if (!inBatch()) {
        beginRemoveRows(QModelIndex(), row, row + count - 1);
    }
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    if (!inBatch()) {
        endRemoveRows();
    }
    return true;
}

QString SpreadModel::header(GridColumn column) const {
    const int section = int(column) - 1;
    return section >= 0 && section < kGridColumns ? headers_[section] : QString();
}

void SpreadModel::setHeader(GridColumn column, const QString& text) {
    const int section = int(column) - 1;
    if (section < 0 || section >= kGridColumns) {
        return;
    }
    headers_[section] = text;
    if (!inBatch()) {
        emit headerDataChanged(Qt::Horizontal, section, section);
    }
}

const GridRow& SpreadModel::row(int row) const {
    static const GridRow none;
    return row >= 0 && row < int(rows_.size()) ? rows_[size_t(row)] : none;
}

void SpreadModel::setRow(int row, GridRow cells) {
    if (row < 0 || row >= int(rows_.size())) {
        return;
    }
    rows_[size_t(row)] = std::move(cells);
    if (!inBatch()) {
        emit dataChanged(index(row, 0), index(row, kGridColumns - 1), {Qt::DisplayRole});
    }
}

void SpreadModel::appendRow(GridRow cells) {
    const int at = int(rows_.size());
    if (!inBatch()) {
        beginInsertRows(QModelIndex(), at, at);
    }
    rows_.push_back(std::move(cells));
    if (!inBatch()) {
        endInsertRows();
    }
}

void SpreadModel::setHandled(int row, bool handled) {
    if (row < 0 || row >= int(rows_.size())) {
        return;
    }
    rows_[size_t(row)].setHandled(handled);
    if (!inBatch()) {
        emit dataChanged(index(row, 0), index(row, kGridColumns - 1),
                         {Qt::ForegroundRole, HandledRole});
    }
}

void SpreadModel::setRowCount(int rows) {
    rows = std::max(rows, 0);
    const int now = int(rows_.size());
    if (rows > now) {
        if (!inBatch()) {
            beginInsertRows(QModelIndex(), now, rows - 1);
        }
        rows_.resize(size_t(rows));
        if (!inBatch()) {
            endInsertRows();
        }
    } else if (rows < now) {
        removeRows(rows, now - rows);
    }
}

void SpreadModel::clearRows() {
    for (GridRow& row : rows_) {
        row = GridRow();
    }
    if (!inBatch() && !rows_.empty()) {
        emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, kGridColumns - 1),
                         {Qt::DisplayRole});
    }
}

void SpreadModel::sortRows(GridColumn key) {
    const int n = int(rows_.size());
    if (n < 2 || int(key) < 1 || int(key) > kGridColumns) {
        return;
    }

    // order[i]: the old row that ends up at i.
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::vector<char> empty(n);
    std::vector<SortKey> keys;
    keys.reserve(n);
    std::vector<char16_t> pool;
    for (int i = 0; i < n; ++i) {
        empty[i] = rows_[size_t(i)].isEmpty();
        keys.push_back(keyOf(rows_[size_t(i)], key, pool));
    }
    const auto listedEnd =
        std::stable_partition(order.begin(), order.end(), [&](int row) { return !empty[row]; });
    std::stable_sort(order.begin(), listedEnd,
                     [&](int a, int b) { return compareKeys(keys[a], keys[b], pool.data()) < 0; });
    bool moved = false;
    for (int i = 0; i < n && !moved; ++i) {
        moved = order[i] != i;
    }
    if (!moved) {
        return;
    }

    if (!inBatch()) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    std::vector<GridRow> sorted(n);
    for (int i = 0; i < n; ++i) {
        sorted[i] = std::move(rows_[size_t(order[i])]);
    }
    std::move(sorted.begin(), sorted.end(), rows_.begin());
    if (!inBatch()) {
        // Indexes the views hold follow their rows.
        std::vector<int> newRowOf(n);
        for (int i = 0; i < n; ++i) {
            newRowOf[order[i]] = i;
        }
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& at : before) {
            after.append(index(newRowOf[at.row()], at.column()));
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
