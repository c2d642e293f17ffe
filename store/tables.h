#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The tables the program uses: their names and columns, as both engines make them, the checks
// look for them, the CSV header names them and a copy carries them.
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

// A column added to MEMO_T by a later release. Data made before it works as it always did
// without it (what the column holds is then not offered); dulvane-admin upgrade adds it. Both
// engines make each one from this list; integer columns hold whole numbers, the others text.
struct AddedColumn {
    const char16_t* name;
    bool integer = false;

    QString text() const { return QString::fromUtf16(name); }
};

// The added columns, in the order they follow kColumns in every export and copy.
inline constexpr std::array<AddedColumn, 2> kAddedColumns{{
    {u"至急", true},  // 1: the message is urgent; Null otherwise
    {u"対応日時"},    // when the addressee handled it, a date-time text; Null until then
}};
// Where each one is in kAddedColumns.
enum class Added : std::size_t {
    Urgent,     // 至急
    HandledAt,  // 対応日時
};
inline constexpr std::size_t kAddedCount = kAddedColumns.size();
QString columnName(Added column);
// The names of kColumns, then of kAddedColumns.
QStringList everyColumn();

}  // namespace memo

// The office's ready phrases, offered beside the memo text. Added by a later release like the
// columns above: data without the table offers the program's own phrases.
namespace phrases {

QString tableName();  // PHRASE_T
// ＮＯ (the key, numbered by the engine), 文言 (the phrase), 順番 (its place in the menu).
inline constexpr std::array<Column, 3> kColumns{{
    {u"ＮＯ", true},
    {u"文言"},
    {u"順番"},
}};

}  // namespace phrases

// The tables added by later releases, each made by both engines and added by an upgrade.
enum class AddedTable : std::size_t {
    Phrases,  // PHRASE_T
};
inline constexpr std::size_t kAddedTableCount = 1;
QString tableName(AddedTable table);

namespace settings {

QString tableName();
// ＮＯ, 名前, フォルダ: every column a settings file must have.
QStringList requiredColumns();

}  // namespace settings

}  // namespace store
