#pragma once

#include <QString>

// Notices the program gives once, not at every start: each given one is recorded in a small
// file beside the failure log (app/failure_log.h), one line per notice, on the user's own
// computer. Without a log nothing is recorded, and the notice is given at each start.
namespace app {

// The file the notices given are recorded in, for the log at logPath ("" for none).
QString noticesPath(const QString& logPath);

// Whether the notice named key was not given before; records it as given. Never throws: a
// record that cannot be read or written counts as not given.
bool firstNotice(const QString& logPath, const QString& key) noexcept;

}  // namespace app
