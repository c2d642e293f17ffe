#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "store/recordset.h"
#include "store/server/connection.h"

namespace store::server {

// Reads a result's rows into a recordset as the file's listings are read: a text that repeats
// down a column (names, the default memo, the line, dates read) is converted once and shared
// by every row holding it, which saves the conversions, most of a large listing's memory, and
// lets the grid make each derived text once per distinct text. With a filter column, only rows
// whose value there is not Null and is accepted are kept; accept is asked once per distinct
// value. maxRows > 0 stops after that many rows kept.
Recordset readListing(const Result& result, const QString& filterColumn = {},
                      const std::function<bool(const QString&)>& accept = {},
                      std::int64_t maxRows = 0);

}  // namespace store::server
