#pragma once

#include <QString>

// The release of both programs and the versions of the engine and toolkit they run with, for
// their --version. It depends on nothing but the engine, so the administration command has it
// without the program's state.
namespace store {

// The release, e.g. "1.2.0".
QString releaseText();

// What --version prints: the program's name and release, then the engine and toolkit versions
// it runs with, one per line.
QString versionText(const QString& programName);

}  // namespace store
