#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "store/tables.h"
#include "store/workspace.h"

namespace store::file {
class FileDatabase;
}

// The settings file's table INI_T: the read at start-up, the save, and a new file. The settings
// file is always a file of the data file's engine, on the workstation itself, whatever holds the
// office's messages; its statements are the file engine's (store/file/settings_table.cpp).
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

// The settings file opened and checked that it holds INI_T with its columns (a missing file, a
// file that is not a database, and the data file given in its place fail here).
class File {
public:
    File(const QString& path, const Workspace& workspace);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    Row read() { return settings::read(*db_); }
    // Whether the user chose desktop notifications in the watch's box's place. Kept in a table
    // of its own, NOTICE_T, made when first saved, so that INI_T stays as it is: a settings
    // file without it, or without its row, reads as off.
    bool readDesktopNotices();
    void saveDesktopNotices(bool on);
    void save(const QString& name, const QString& folder) { settings::save(*db_, name, folder); }

    // The file itself, for tests that look at it with the file's own statements.
    file::FileDatabase& database() { return *db_; }

private:
    std::unique_ptr<file::FileDatabase> db_;
};

// Makes a new settings file with INI_T and its row ＮＯ = 1 (Null where a value is absent).
// Refuses an existing path.
void createFile(const QString& path, const std::optional<QString>& name,
                const std::optional<QString>& folder, const Workspace& workspace = Workspace{});

}  // namespace store::settings
