#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/maintenance.h"
#include "store/server/connection.h"

// Whole-table reads and writes of the messages on a database server, for the administrator's
// copy, import and export.
namespace store::server::bulk {

// Every message in ＮＯ order, read in one statement: one consistent picture while
// workstations write.
std::vector<maintenance::ImportMessage> allMessages(Connection& server);

// Locks the table on the open transaction: workstations may read meanwhile; none adds, changes
// or removes a message until the transaction ends.
void lockAgainstWriters(Connection& server);

// The highest number the server has ever handed out, deleted messages and numbers set by a
// copy or an import included (0 when it never numbered a message).
std::int64_t highestEverNumbered(Connection& server);

// Adds the messages on the open transaction, in order: a message with a number keeps it, one
// without takes the server's next. Afterwards the server numbers after the highest number it
// holds. A text holding a NUL character, which the server cannot hold, is refused
// (store::Error) before anything is sent. progress(done) now and then.
std::int64_t insertAll(Connection& server, const std::vector<maintenance::ImportMessage>& messages,
                       const std::function<void(std::int64_t)>& progress);

// Adds the messages, each with its own number, in one transaction that first locks the table
// against other writers and refuses (store::Error, nothing changed) when it holds a message or
// ever numbered one: a copied number must never be one handed out before. Numbering goes on
// after the highest number copied and after handedOut (the source's highest number ever).
// progress(done) now and then.
std::int64_t fillEmpty(Connection& server, const std::vector<maintenance::ImportMessage>& messages,
                       std::int64_t handedOut, const std::function<void(std::int64_t)>& progress);

}  // namespace store::server::bulk
