#pragma once

#include <cstdint>

struct sqlite3;

// The numbering of MEMO_T in a data file: ＮＯ is numbered automatically and a number is never
// handed out twice, because the file keeps the highest number it ever handed out
// (sqlite_sequence) beside its messages.
namespace store::file::numbering {

// Whether the file keeps its highest number (its table was made to number automatically).
bool keepsNumbering(sqlite3* h);

// The highest number the file has ever handed out, deleted messages included (0 for a file
// that never held one, or that keeps no numbering).
std::int64_t highestEverNumbered(sqlite3* h);

// The highest ＮＯ a message holds now (0 without messages).
std::int64_t highestHeld(sqlite3* h);

// Moves the file's numbering on past n, when it keeps one.
void numberAfter(sqlite3* h, std::int64_t n);

}  // namespace store::file::numbering
