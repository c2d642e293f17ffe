#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "store/database.h"
#include "store/message.h"

// The administrator's operations on the whole of an office's messages, in a data file or on a
// database server: export and import of every message, purging old read messages, a summary,
// a copy between the two, and an online copy of a data file. Only dulvane-admin uses these;
// the program itself works one message at a time (store::memo).
namespace store::maintenance {

using store::kTextColumns;
using store::MessageTexts;
using store::Summary;
// One message to add; no: the number to keep, or nullopt for the next free one.
using ImportMessage = store::StoredMessage;

// ＮＯ,宛名,相手,受人,メモ,内外線,電話,受付日時,既読, then the added columns 至急,対応日時: the
// columns a whole message consists of, in the order an export writes them.
QStringList messageColumns();
// The value of a message in column c of messageColumns() (c from 1: ＮＯ is no text).
const std::optional<QString>& valueAt(const ImportMessage& message, int c);
std::optional<QString>& valueAt(ImportMessage& message, int c);

// Every message in ＮＯ order, read in one statement (a consistent picture while other
// workstations write), each with its number.
std::vector<ImportMessage> everyMessage(Database& db);

struct ImportOutcome {
    // Indexes (into the messages given) whose ＮＯ is taken (see numbersInUse); when any is
    // present nothing was added.
    std::vector<std::size_t> numbersTaken;
    std::int64_t added = 0;
};

// Indexes of the messages whose number to keep is taken: a message holds it, or it was handed
// out before (numbers are never reused).
std::vector<std::size_t> numbersInUse(Database& db, const std::vector<ImportMessage>& messages);

// Adds the messages in one transaction that keeps other writers out: every one or, when a
// number to keep is taken already, none. A value for an added column the data lacks is
// refused (nothing is added; dulvane-admin upgrade adds the column), never dropped. progress(done)
// is called now and then. Numbering goes on after the highest number.
ImportOutcome addMessages(Database& db, const std::vector<ImportMessage>& messages,
                          const std::function<void(std::int64_t)>& progress = {});

// Copies every message of from, with its number and every text as it is, into to, which
// must hold no message and never have numbered one, and must have every added column that
// holds a value in from (else nothing is copied: a mark is never dropped on the way) (else a copied
// number could be one it handed out before, and a list still shown somewhere could reach the wrong
// message): one read of from, and one transaction on to that adds all or, on any failure, nothing.
// Either may be a data file or a server's data. Numbering in to goes on after the highest number
// copied, and after the highest number from ever handed out. progress(done, total) now and
// then. The staff directory goes along into to's (empty) directory; the relay's place and
// MEMO_T.転送日時 do not (a relay on to starts after the highest number there). Returns how
// many were copied; throws store::Error.
std::int64_t copyMessages(Database& from, Database& to,
                          const std::function<void(std::int64_t, std::int64_t)>& progress = {});

// Why a copy refuses a destination at location that holds no message but numbered some before.
QString numberedBeforeText(const QString& location);

// Read messages (既読 not Null) received before the date text ("YYYY/MM/DD"): how many there
// are, and removing them in one transaction (returns how many went).
std::int64_t countReadBefore(Database& db, const QString& dateText);
std::int64_t removeReadBefore(Database& db, const QString& dateText);

// Counts only; changes nothing. Read in one transaction that sees one picture of the table,
// so the figures agree while workstations write.
Summary summarize(Database& db);

// Copies the open data page by page through the engine's online backup into copyPath, an
// empty file the caller made, while other workstations go on using the original (when the
// engine can: capabilities().onlineBackup; else it refuses with the engine's advice). The copy
// is left in rollback-journal mode. progress(done, total) counts pages. Throws store::Error.
void backupTo(Database& source, const QString& copyPath,
              const std::function<void(std::int64_t, std::int64_t)>& progress = {});

}  // namespace store::maintenance
