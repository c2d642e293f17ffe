#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// Comma-separated values as spreadsheets and mdb-export write them (RFC 4180): quoted values
// with doubled quotes inside, an empty unquoted value for a Null, CRLF or LF line ends.
namespace admin::csv {

using Value = std::optional<QString>;  // nullopt: Null, an empty unquoted value

// Appends one line with CRLF: names as they are, separated by commas.
void appendHeader(QByteArray& out, const QStringList& names,
                  const std::function<QByteArray(const QString&)>& encode);
// Appends one line with CRLF: every value quoted, a Null as nothing between the commas.
void appendRecord(QByteArray& out, const std::vector<Value>& values,
                  const std::function<QByteArray(const QString&)>& encode);

struct Record {
    int line = 0;  // the line the record starts on, counting from 1
    std::vector<Value> values;
};
struct Problem {
    int line = 0;
    QString what;
};
struct Parsed {
    std::vector<Record> records;    // the well-formed records, header first
    std::vector<Problem> problems;  // the lines that are not
};

// Reads every record of text; blank lines are skipped. Values are kept exactly, line ends
// inside quotes included.
Parsed parse(const QString& text);

}  // namespace admin::csv
