#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace store {

// One field of the current row: its text, or null.
struct Field {
    QString text;
    bool null = true;

    bool isNull() const { return null; }
    const QString& value() const { return text; }
};

// The rows of one Select, held in memory after the statement was finalised.
// Used like the old engine's result sets: RecordCount, MoveFirst, EOF, MoveNext, Fields(name).
class Recordset {
public:
    Recordset() = default;
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

private:
    QStringList columns_;
    std::vector<Field> cells_;
    std::int64_t rowCount_ = 0;
    std::int64_t current_ = 0;
};

}  // namespace store
