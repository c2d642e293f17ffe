#pragma once

#include <QString>
#include <cstdint>
#include <variant>
#include <vector>

namespace store {

// A value bound to a statement parameter of the data file's own SQL. Values are never
// spliced into statement text.
using Param = std::variant<std::nullptr_t, std::int64_t, QString>;
using Params = std::vector<Param>;

}  // namespace store
