#pragma once

struct sqlite3;

namespace store::file {

// Installs the office's Like (store::likeMatch) as the connection's like(pattern, text), so
// that "X Like ?" uses it.
void installLike(sqlite3* db);

}  // namespace store::file
