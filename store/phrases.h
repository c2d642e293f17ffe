#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "store/database.h"
#include "store/message.h"

// The office's ready phrases (PHRASE_T): the menu beside the memo text offers them, and
// dulvane-admin phrases keeps them. Places count from 1, in the order the menu shows.
namespace store::phrases {

// The longest phrase: the memo text's own limit.
inline constexpr int kMaxLength = 100;

// The phrases offered by data without PHRASE_T, and put into the table when it is made.
QStringList defaults();

// The phrases the menu offers, in order, each at most kMaxLength characters: the table's, or
// defaults() when the data lacks the table.
QStringList offered(Database& db);

// The table's phrases in order (fails when the data lacks the table).
std::vector<Phrase> list(Database& db);
// Adds text as the last phrase. Refuses (Error::Kind::Other) an empty text or one longer than
// kMaxLength, which the memo text could not hold whole.
void add(Database& db, const QString& text);
// Removes the phrase at place; returns its text. Refuses a place that holds none.
QString remove(Database& db, int place);
// Moves the phrase at place to place to, the others closing up. Refuses places that hold none.
void move(Database& db, int place, int to);

// Fills PHRASE_T with defaults() when the table holds no phrase.
void fillWhenEmpty(Database& db);

}  // namespace store::phrases
