#pragma once

#include <QStringList>

#include "store/message.h"
#include "store/server/connection.h"

// What later releases added to the message table on a server (memo::kAddedColumns, the added
// tables): finding, making and checking them.
namespace store::server {

// Which of the additions the server's database holds.
Additions additionsOf(Connection& server);
// Adds what present lacks, inside the caller's transaction.
void addAdditions(Connection& server, const Additions& present);
// The problems with the additions that are there: a column of another type, a table without
// its columns. Missing ones are no problem.
QStringList additionProblems(Connection& server);

}  // namespace store::server
