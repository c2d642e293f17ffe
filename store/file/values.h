#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "store/repeated_texts.h"

struct sqlite3_stmt;

// Values of a row the engine has ready, as the program reads them.
namespace store::file {

// A text value (data, bytes as the engine gives it in the file's encoding, UTF-8) as a string:
// decoded here straight into a string of the exact length, without the engine's intermediate
// UTF-16 copy; a text the decoder cannot promise to read exactly as the engine converts it goes
// through the engine's own conversion. An empty text is an empty string, never a null one.
QString textValue(sqlite3_stmt* stmt, int column, const unsigned char* data, int bytes);

// Any value that is not Null, as text (a whole number as the engine writes it).
QString columnText(sqlite3_stmt* stmt, int column);

// The value as text; a null QString for Null. Texts that repeat down a column are made once
// and shared (see RepeatedTexts).
QString sharedText(sqlite3_stmt* stmt, int column, RepeatedTexts& repeated);

// The same, and the text's fingerprint as a text a message keeps (store::keptTextHash), made
// once for a text that repeats.
QString sharedText(sqlite3_stmt* stmt, int column, RepeatedTexts& repeated, std::uint64_t& hash);

// The value as text; nullopt for Null.
std::optional<QString> optionalText(sqlite3_stmt* stmt, int column);

}  // namespace store::file
