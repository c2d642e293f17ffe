#pragma once

#include <QString>

#include "store/database.h"

// The two statements on the settings table INI_T (the read at start-up and the save), and the
// user's choice of desktop notifications beside it.
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

// Whether the user chose desktop notifications in the watch's box's place. Kept in a table of
// its own, NOTICE_T, made when first saved, so that INI_T stays as it is: a settings file
// without it, or without its row, reads as off.
bool readDesktopNotices(Database& db);
void saveDesktopNotices(Database& db, bool on);

QStringList requiredColumns();
QString tableName();

}  // namespace store::settings
