#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "store/memo_table.h"
#include "store/server/connection.h"

// The message table's statements on a database server. The office's Like is applied here by
// likeMatch itself; the server only narrows the candidates through its indexes.
namespace store::server::memo {

// The server-side narrowing for names beginning with name: a LIKE pattern over the column's
// ASCII-lowered text that every name the office's Like accepts also satisfies ("%" alone when
// no prefix can be narrowed safely).
QString narrowingPattern(const QString& name);

store::memo::PickLists pickLists(Connection& server);
Recordset receivedList(Connection& server, const QString& name);
std::int64_t markRead(Connection& server, const QString& name, const QString& today,
                      std::int64_t highestListed);
Recordset sentList(Connection& server, const QString& name);
void insert(Connection& server, const store::memo::NewMessage& message);
void remove(Connection& server, std::int64_t no);
// In one transaction: reads the texts a message keeps from its send on (宛名 to 受付日時) of the
// message numbered no, locking it, and deletes it when shouldDelete(what was read) says so
// (given no row when no message holds the number).
void removeIf(Connection& server, std::int64_t no,
              const std::function<bool(const Recordset&)>& shouldDelete);
bool hasUnread(Connection& server, const QString& name);

}  // namespace store::server::memo
