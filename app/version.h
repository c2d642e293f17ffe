#pragma once

#include <QString>

namespace app {

// The release, e.g. "1.1.0".
QString releaseText();

// What --version prints: the program's name and release, then the engine and toolkit versions
// it runs with, one per line.
QString versionText(const QString& programName);

}  // namespace app
