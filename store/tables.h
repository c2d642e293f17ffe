#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The tables the program uses: their names and columns, as both engines make them, the
// checks look for them, the CSV header names them and a copy carries them. MEMO_T and INI_T
// come first; the staff directory, MEMO_T's added columns and the relay's table came later and
// may be missing from older data.
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

// Columns added to MEMO_T by later releases: Null in every row written by an earlier one,
// added by upgrade, never required. A data file without them still works; what reads them asks
// whether they are there first (Database::hasColumn).
inline constexpr std::array<Column, 1> kAddedColumns{{
    {u"転送日時"},  // when the relay's mail server accepted the message's mail; Null until then
}};
inline constexpr const char16_t* kForwardedAt = u"転送日時";

}  // namespace memo

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
