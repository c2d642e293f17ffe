#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "store/message.h"
#include "store/params.h"

struct sqlite3;

// What later releases added to a data file (memo::kAddedColumns, the added tables): finding,
// making and checking them, and the pieces of the message statements that name them.
namespace store::file {

// Which of the additions the file holds.
Additions additionsOf(sqlite3* db);
// Adds what present lacks: each column by ALTER TABLE, each table with its columns. Inside the
// caller's write transaction.
void addAdditions(sqlite3* db, const Additions& present);
// The problems with the additions that are there: a column of another type, a table without
// its columns. Missing ones are no problem.
QStringList additionProblems(sqlite3* db);

// ",至急,対応日時" for a Select after the columns of kColumns: Null in place of a column the
// file lacks, so that every message reads alike.
QString addedSelection(const Additions& present);
// The added columns the file holds, ",至急,..." for an Insert, and their values as parameters
// ("," and "?"s). A value for a column the file lacks is refused, a Null for it left out.
QString addedInsertColumns(const Additions& present);
QString addedInsertMarks(const Additions& present);
void appendAddedParams(const Additions& present, const AddedTexts& added, Params& params);
// The value of an added column as the file keeps it: a whole number in an integer column.
Param addedParam(memo::Added column, const std::optional<QString>& value);

}  // namespace store::file
