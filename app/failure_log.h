#pragma once

#include <QString>
#include <QtGlobal>
#include <exception>
#include <optional>

// A short record of failed operations for whoever looks after the program. One line per
// entry, its fields separated by tabs:
//   local time (ISO 8601, seconds, offset)  operation  location  engine code  text
// The code is the engine's own: the data file engine's extended result code, or the database
// server's SQLSTATE ("-" when the failure did not come from the engine); the text names the
// cause (a missing file, a folder or file without permission, a read-only file, a lock, a file
// that is not a data file, a lost connection, ...) and carries the engine's own words. Writing
// never throws and never shows anything: a log that cannot be written is not written.
namespace app {

// Past this size the log becomes "<log>.1", replacing the one before, and a new one starts.
inline constexpr qint64 kFailureLogLimit = 256 * 1024;

// dulvane.log in the user's state folder.
QString failureLogPath();

// Writes a failed operation on location: the engine's code and text when it raised the
// failure. Nothing is written when logPath is empty.
void logFailure(const QString& logPath, const QString& operation, const QString& location,
                const std::exception& failure, qint64 limit = kFailureLogLimit) noexcept;

// Writes any other line, for example that an operation works again.
void logEntry(const QString& logPath, const QString& operation, const QString& location,
              const QString& code, const QString& text, qint64 limit = kFailureLogLimit) noexcept;

}  // namespace app
