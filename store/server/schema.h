#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

// Making, upgrading and checking the message table on a database server.
namespace store::server::schema {

// Makes MEMO_T and its indexes, read without parallel workers; refuses when the table exists.
void createData(const QString& uri, std::chrono::milliseconds timeout);
// Whether the database holds MEMO_T.
bool hasData(const QString& uri, std::chrono::milliseconds timeout);
// Adds the indexes and the table setting the server lacks; returns true when something was
// added.
bool upgradeData(const QString& uri, std::chrono::milliseconds timeout);
// The problems found with the table and its columns, empty when it is sound.
QStringList checkData(const QString& uri, std::chrono::milliseconds timeout);

}  // namespace store::server::schema
