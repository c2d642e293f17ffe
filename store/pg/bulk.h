#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "store/maintenance.h"
#include "store/pg/server.h"

// Whole-table reads and writes of the messages on a database server, for the administrator's
// copy between a data file and a server.
namespace store::pg::bulk {

// Every message in ＮＯ order, read in one statement: one consistent picture while
// workstations write.
std::vector<maintenance::ImportMessage> allMessages(Server& server);

// Adds the messages, each with its own number, in one transaction that first locks the table
// against other writers and refuses (store::Error, nothing changed) when it holds a message.
// Numbering goes on after the highest number copied. progress(done) now and then.
std::int64_t fillEmpty(Server& server, const std::vector<maintenance::ImportMessage>& messages,
                       const std::function<void(std::int64_t)>& progress);

}  // namespace store::pg::bulk
