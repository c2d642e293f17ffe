#pragma once

#include <QString>

#include "store/database.h"

// The two statements on the settings table INI_T: the read at start-up and the save.
namespace store::settings {

// Row ＮＯ = 1 (columns ＮＯ, 名前, フォルダ); no row when the file has none.
Recordset read(Database& db);

// Stores name and path in row ＮＯ = 1, adding that row when the file has none, so that
// what the user saved is really kept.
void save(Database& db, const QString& name, const QString& folder);

QStringList requiredColumns();
QString tableName();

}  // namespace store::settings
