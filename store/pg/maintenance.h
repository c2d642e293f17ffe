#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "store/maintenance.h"
#include "store/pg/server.h"

// The administrator's operations on the messages of a database server: the same as those on
// a data file (store::maintenance), with the same answers.
namespace store::pg::maintenance {

using store::maintenance::ImportMessage;

Recordset allMessages(Server& server);
std::vector<std::size_t> numbersInUse(Server& server, const std::vector<ImportMessage>& messages);
store::maintenance::ImportOutcome addMessages(Server& server,
                                              const std::vector<ImportMessage>& messages,
                                              const std::function<void(std::int64_t)>& progress);
std::int64_t countReadBefore(Server& server, const QString& dateText);
std::int64_t removeReadBefore(Server& server, const QString& dateText);
store::maintenance::Summary summarize(Server& server);

}  // namespace store::pg::maintenance
