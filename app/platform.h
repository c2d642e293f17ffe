#pragma once

#include <QString>

// What differs between operating systems for the program core: the one place that asks.
namespace app::platform {

// The user's folder for what the program keeps about its own running (its failure log):
// $XDG_STATE_HOME/dulvane, by default ~/.local/state/dulvane; on Windows and macOS the
// program's local data folder.
QString stateFolder();

// Makes every thread allocate from one heap, so that memory one thread frees is reused by the
// next: a listing is read on the data thread and the window's thread takes its rows, freeing
// them as the grid's cells are made. (The GNU C library otherwise gives each thread a heap of
// its own, and the listing and the grid would be held side by side.) Called first thing in
// main(), before any other thread exists.
void useOneHeap();

}  // namespace app::platform
