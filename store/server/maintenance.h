#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "store/maintenance.h"
#include "store/server/connection.h"

// The administrator's operations on the messages of a database server: the same as those on
// a data file (store::maintenance), with the same answers.
namespace store::server::maintenance {

using store::maintenance::ImportMessage;

Recordset allMessages(Connection& server);
std::vector<std::size_t> numbersInUse(Connection& server,
                                      const std::vector<ImportMessage>& messages);
store::maintenance::ImportOutcome addMessages(Connection& server,
                                              const std::vector<ImportMessage>& messages,
                                              const std::function<void(std::int64_t)>& progress);
std::int64_t countReadBefore(Connection& server, const QString& dateText);
std::int64_t removeReadBefore(Connection& server, const QString& dateText);
store::maintenance::Summary summarize(Connection& server);

}  // namespace store::server::maintenance
