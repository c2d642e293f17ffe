#pragma once

#include <QString>
#include <optional>

namespace admin {

// A date given on the command line, "YYYY/MM/DD" or "YYYY-MM-DD", as the date text
// "YYYY/MM/DD"; nullopt for anything else and for a day that does not exist.
std::optional<QString> dateTextFromArgument(const QString& argument);

// A value as the old system's export writes a date and time ("12/25/02 12:25:00", month
// first, two-digit years 30-99 in the 1900s) in the message book's form: "YYYY/MM/DD HH:MM"
// with withTime, else "YYYY/MM/DD". Any other value comes back unchanged.
QString fromOldExport(const QString& value, bool withTime);

}  // namespace admin
