#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace store {

// One field of the current row: its text, or null.
struct Field {
    // A null field.
    Field() = default;
    // A field that is not null; an empty text stays an empty text, never a null.
    explicit Field(QString value) : text(value.isNull() ? QStringLiteral("") : std::move(value)) {}

    // A null string for a null field (one string per field keeps large results small).
    QString text;

    bool isNull() const { return text.isNull(); }
    const QString& value() const { return text; }
};

// The rows of one Select, held in memory after the statement was finalised.
// Used like the old engine's result sets: RecordCount, MoveFirst, EOF, MoveNext, Fields(name).
class Recordset {
public:
    // Row after row. A deque grows without moving what it holds, so reading a large result
    // never needs twice its memory for a moment.
    using Cells = std::deque<Field>;

    Recordset() = default;
    Recordset(QStringList columns, Cells cells);
    Recordset(QStringList columns, std::vector<Field> cells);

    // Zero when the result has no row; otherwise the number of rows read.
    std::int64_t RecordCount() const { return rowCount_; }
    void MoveFirst() { current_ = 0; }
    void MoveNext() { ++current_; }
    bool Eof() const { return current_ >= rowCount_; }

    // The current row's field by column name; throws store::Error for an unknown name.
    const Field& Fields(const QString& name) const;

    // Index of a column for repeated reads with field(); -1 when absent.
    int columnIndex(const QString& name) const { return int(columns_.indexOf(name)); }
    const Field& field(int column) const;

    const QStringList& columns() const { return columns_; }

    // Goes through the rows once, first to last, calling visit(*this) with each row current,
    // and frees each row as soon as it was visited, so that rows copied elsewhere (a list
    // shown in the grid) are never held twice. The recordset is empty afterwards.
    template <class Visit>
    void drain(Visit visit) {
        const size_t width = size_t(columns_.size());
        for (current_ = 0; rowCount_ > 0; --rowCount_) {
            visit(static_cast<const Recordset&>(*this));
            for (size_t i = 0; i < width; ++i) {
                cells_.pop_front();
            }
        }
        cells_ = Cells();
    }

private:
    QStringList columns_;
    Cells cells_;
    std::int64_t rowCount_ = 0;
    std::int64_t current_ = 0;
};

}  // namespace store
