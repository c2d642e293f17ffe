#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "tools/admin/cli.h"

// The two encodings of the files dulvane-admin exchanges: UTF-8 (with a byte-order mark when
// written, so a spreadsheet program reads the Japanese text) and, for older ones, Shift_JIS as
// Windows writes and reads it (code page 932).
namespace admin {

enum class Encoding { Utf8, ShiftJis };

// "utf-8", or "shift_jis", "cp932" or "windows-31j" (letter case, "-" and "_" aside); nullopt
// for anything else.
std::optional<Encoding> encodingNamed(const QString& name);
const char* encodingName(Encoding encoding);
// The --encoding option's value, UTF-8 when absent; throws UsageError for another name.
Encoding encodingOption(const Arguments& arguments);

// Encodes text; every character the encoding cannot hold is added to unencodable (each once
// per occurrence) and the result is then not to be used. In Shift_JIS the characters the JIS
// and Windows mappings disagree on (〜, −, ‖, ¢, £, ¬, —, ¦) are written as the bytes of their
// Windows forms (～, －, ∥, ￠, ￡, ￢, ―, ￤), which decoding gives back.
QByteArray encodeText(const QString& text, Encoding encoding, std::vector<char32_t>& unencodable);

// The byte-order mark written before UTF-8 text.
QByteArray byteOrderMark(Encoding encoding);

struct Decoded {
    QString text;
    std::vector<int> badLines;  // lines (from 1) holding bytes the encoding does not know
};
// Decodes a whole file; a UTF-8 byte-order mark at its start is dropped.
Decoded decodeFile(const QByteArray& bytes, Encoding encoding);

// "U+30A2" for a code point.
QString codePointText(char32_t c);

}  // namespace admin
