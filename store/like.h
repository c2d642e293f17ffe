#pragma once

#include <QString>
#include <optional>

struct sqlite3;

namespace store {

// The message book's Like: '*' any run of characters (none included), '?' one character,
// '#' one digit, '[abc]' / '[a-z]' one character of a list, '[!abc]' one character not in it.
// Letters compare without regard to case in every script (full-width Latin, Greek, ...).
// Returns nullopt for a malformed pattern (an unclosed '[').
std::optional<bool> likeMatch(const QString& pattern, const QString& text);

// A pattern that matches every text beginning with name: the name's own wildcard
// characters are bracketed so that they match literally, and '*' follows.
QString prefixPattern(const QString& name);

// Installs likeMatch as the connection's like(pattern, text), so "X Like ?" uses it.
void installLike(sqlite3* db);

}  // namespace store
