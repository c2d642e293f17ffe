#pragma once

#include <QString>
#include <optional>

#include "store/tables.h"
#include "store/workspace.h"

namespace store::file {
class FileDatabase;
}

// The settings file's table INI_T: the read at start-up, the save, and a new file. The settings
// file is always a file of the data file's engine, on the workstation itself.
namespace store::settings {

// What row ＮＯ = 1 holds: the user's name and the data file's path. A Null, and a file
// without that row, read as "".
struct Row {
    QString name;    // 名前
    QString folder;  // フォルダ
};
Row read(file::FileDatabase& db);

// Stores name and path in row ＮＯ = 1, adding that row when the file has none, so that
// what the user saved is really kept.
void save(file::FileDatabase& db, const QString& name, const QString& folder);

// Makes a new settings file with INI_T and its row ＮＯ = 1 (Null where a value is absent).
// Refuses an existing path.
void createFile(const QString& path, const std::optional<QString>& name,
                const std::optional<QString>& folder, const Workspace& workspace = Workspace{});

}  // namespace store::settings
