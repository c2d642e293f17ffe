#pragma once

#include <QString>

#include "store/database.h"

// The two statements on the settings table INI_T: the read at start-up and the save.
namespace store::settings {

// What row ＮＯ = 1 holds: the user's name and the data file's path. A Null, and a file
// without that row, read as "".
struct Row {
    QString name;    // 名前
    QString folder;  // フォルダ
};
Row read(Database& db);

// Stores name and path in row ＮＯ = 1, adding that row when the file has none, so that
// what the user saved is really kept.
void save(Database& db, const QString& name, const QString& folder);

QStringList requiredColumns();
QString tableName();

}  // namespace store::settings
