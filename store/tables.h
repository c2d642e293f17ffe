#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The two tables the program uses: their names and columns, as both engines make them, the
// checks look for them, the CSV header names them and a copy carries them.
namespace store {

// One column: its name, and whether it is the key, the number the engine hands out; every
// other column holds text.
struct Column {
    const char16_t* name;
    bool key = false;

    QString text() const { return QString::fromUtf16(name); }
};

namespace memo {

// MEMO_T's columns: the key ＮＯ, then the texts in the order a message is written, exported
// and copied.
inline constexpr std::array<Column, 9> kColumns{{
    {u"ＮＯ", true},
    {u"宛名"},
    {u"相手"},
    {u"受人"},
    {u"メモ"},
    {u"内外線"},
    {u"電話"},
    {u"受付日時"},
    {u"既読"},
}};

QString tableName();
// The names of kColumns: every column a data file must have.
QStringList requiredColumns();

}  // namespace memo

namespace settings {

QString tableName();
// ＮＯ, 名前, フォルダ: every column a settings file must have.
QStringList requiredColumns();

}  // namespace settings

}  // namespace store
