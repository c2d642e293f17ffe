#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "store/database.h"

// Every statement the program sends about the message table MEMO_T.
namespace store::memo {

// The fields of a new message, as the entry fields hold them.
struct NewMessage {
    QString addressee;         // 宛名
    QString caller;            // 相手
    QString taker;             // 受人
    QString memo;              // メモ
    bool outsideLine = false;  // 内外線: "外線" when set, else "内線"
    QString phone;             // 電話: "-" is stored when empty
    QString receivedAt;        // 受付日時
};

// The entry's three pick lists: the distinct values of each name column, Nulls left out.
// A list is nullopt when its column gave no row at all (a file without messages): the entry
// then keeps the list it shows.
struct PickLists {
    std::optional<QStringList> addressees;  // 宛名
    std::optional<QStringList> callers;     // 相手
    std::optional<QStringList> takers;      // 受人
};
PickLists pickLists(Database& db);

// Messages addressed to names beginning with name, newest first.
Recordset receivedList(Database& db, const QString& name);
// Marks read, with today's date text, the unread messages addressed to names beginning with
// name, but only those the listing showed (numbered up to its highest ＮＯ): a message
// inserted after the listing stays unread until it is listed. highestListed is the listing's
// highestNumber(), taken before its rows go anywhere. Returns the rows marked.
std::int64_t markRead(Database& db, const QString& name, const QString& today,
                      std::int64_t highestListed);
// The highest ＮＯ of a received or sent listing (its first row's); 0 when it has no row.
std::int64_t highestNumber(Recordset& listed);
// Messages taken by names beginning with name, newest first.
Recordset sentList(Database& db, const QString& name);
// Inserts one message; the database numbers it.
void insert(Database& db, const NewMessage& message);
// Deletes the message numbered no; deleting a message that is gone already is no error.
void remove(Database& db, std::int64_t no);
// Whether an unread message waits for a name beginning with name: reads one row at most.
bool hasUnread(Database& db, const QString& name);
// The unread messages waiting for a name beginning with name: how many, and the newest of them
// (the highest ＮＯ). The texts are empty when none waits; a Null reads as "".
struct Unread {
    std::int64_t count = 0;
    QString caller;      // 相手
    QString receivedAt;  // 受付日時
    QString memo;        // メモ
};
Unread unread(Database& db, const QString& name);

// The columns every data file must have, ＮＯ first and then in the order a message is
// written and exported.
QStringList requiredColumns();
QString tableName();

}  // namespace store::memo
