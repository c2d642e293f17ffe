#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace store::file {

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

// The rows of one Select of the data file's own SQL (FileDatabase::openRecordset), held in memory
// after the statement was finalised: RecordCount, MoveFirst, EOF, MoveNext, Fields(name).
class Recordset {
public:
    // Row after row. A deque grows without moving what it holds, so reading a large result
    // never needs twice its memory for a moment.
    using Cells = std::deque<Field>;

    Recordset() = default;
    Recordset(QStringList columns, Cells cells);

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

private:
    QStringList columns_;
    Cells cells_;
    std::int64_t rowCount_ = 0;
    std::int64_t current_ = 0;
};

}  // namespace store::file
