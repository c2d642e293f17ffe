#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/message.h"
#include "store/server/connection.h"

// Reading a server's results into the store's rows.
namespace store::server {

// The rows of a result whose columns are memo::kColumns (ＮＯ first), as a list shows them. A
// text that repeats down a column (names, the default memo, the line, dates read) is converted
// once and shared by every row holding it, which saves the conversions, most of a large
// listing's memory, and lets the grid make each derived text once per distinct text. With a
// filter column (a text column's index among the result's columns, 1 for 宛名; -1 for none),
// only rows whose value there is not Null and is accepted are kept; accept is asked once per
// distinct value. maxRows > 0 stops after that many rows kept.
Listing readListing(const Result& result, int filterColumn = -1,
                    const std::function<bool(const QString&)>& accept = {},
                    std::int64_t maxRows = 0);

// Every row of a result whose columns are memo::kColumns (and the added ones), texts shared as
// above.
std::vector<StoredMessage> readMessages(const Result& result);

// The names of memo::kColumns from first on, quoted and joined by commas, for statements.
QString memoColumns(std::size_t first = 0);

// After memoColumns() in a Select: each of memo::kAddedColumns, or Null where the table lacks
// it, so that every message reads alike; readListing and readMessages read them when the
// result has them.
QString addedSelection(const Additions& present);
// The added columns the table holds, for an Insert: ", \"至急\", ...".
QString addedInsertColumns(const Additions& present);
// The values of the added columns the table holds, appended to params; a value for a column
// the table lacks is refused, a Null for it left out.
void appendAddedParams(const Additions& present, const AddedTexts& added, TextParams& params);

// A whole number in the result (0 for Null or no row).
std::int64_t number(const Result& result, int row = 0, int column = 0);

// A text in the result; nullopt for Null.
std::optional<QString> optionalText(const Result& result, int row, int column);

}  // namespace store::server
