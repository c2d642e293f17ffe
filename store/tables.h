#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The tables the program uses: their names and columns, as both engines make them, the
// checks look for them, the CSV header names them and a copy carries them. MEMO_T and INI_T
// come first; MEMO_T's added columns, the ready phrases, the staff directory and the relay's
// table came later and may be missing from older data.
namespace store {

// One column: its name, and whether it is the key, the number the engine hands out; every
// other column holds text unless it is marked integer. A unique column is a name that is never
// empty and never held twice.
struct Column {
    const char16_t* name;
    bool key = false;
    bool integer = false;
    bool unique = false;

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

// The relay's column added to MEMO_T: Null in every row written by an earlier release, added by
// upgrade, never required, and not carried by export or copy (a relay on a copy starts after
// its highest number). What reads it asks whether it is there first (Database::hasColumn).
inline constexpr std::array<Column, 1> kRelayColumns{{
    {u"転送日時"},  // when the relay's mail server accepted the message's mail; Null until then
}};
inline constexpr const char16_t* kForwardedAt = u"転送日時";

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

// The staff directory STAFF_T: one row a person. A message belongs to the longest name in it
// that its addressee begins with (store::staff). Data made by an earlier release lacks it until
// upgrade; without it everything works as before.
namespace staff {

inline constexpr std::array<Column, 7> kColumns{{
    {u"ＮＯ", true},
    {u"名前", false, false, true},  // as users type it and the settings hold it
    {u"よみ"},                      // the reading in kana, for sorting
    {u"内線番号"},
    {u"所属"},
    {u"メール"},
    {u"転送", false, true},  // 1: mail this person's messages (the relay); Null otherwise
}};

QString tableName();

}  // namespace staff

// The relay's own table FORWARD_T: one row (ＮＯ = 1) holding the highest message number the
// relay has examined, and the message it keeps trying with how many times its mail was refused.
// Made by create-data and upgrade, or by the relay at its first start.
namespace relay {

inline constexpr std::array<Column, 4> kColumns{{
    {u"ＮＯ", true},
    {u"確認済ＮＯ", false, true},
    {u"試行ＮＯ", false, true},
    {u"試行回数", false, true},
}};

QString tableName();

}  // namespace relay

namespace settings {

QString tableName();
// ＮＯ, 名前, フォルダ: every column a settings file must have.
QStringList requiredColumns();

}  // namespace settings

}  // namespace store
