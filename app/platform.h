#pragma once

#include <QString>

// What differs between operating systems for the program core: the one place that asks.
namespace app::platform {

// The user's folder for what the program keeps about its own running (its failure log):
// $XDG_STATE_HOME/dulvane, by default ~/.local/state/dulvane; on Windows and macOS the
// program's local data folder.
QString stateFolder();

}  // namespace app::platform
