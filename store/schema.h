#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "store/database.h"

// Making and checking the two kinds of file, for the administration command and the tests.
// The program itself only makes a user's own empty settings file; it never alters a file.
namespace store::schema {

// Makes a new, empty data file with MEMO_T. Refuses an existing path. A server's URI makes
// the table on the server instead (as do upgrade and check below).
void createDataFile(const QString& path, const Workspace& workspace = Workspace{});

// Whether a data file is at path, or a server's database holds MEMO_T.
bool dataExists(const QString& path, const Workspace& workspace = Workspace{});

// Makes a new settings file with INI_T and its row ＮＯ = 1 (Null where a value is absent).
void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder,
                        const Workspace& workspace = Workspace{});

// Adds what a data file made by an earlier release lacks (the indexes on 既読 and on the three
// name columns); changes nothing else. Returns true when something was added.
bool upgradeDataFile(const QString& path, const Workspace& workspace = Workspace{});

// Checks an existing file: is it a database, does it hold the table and its columns, does the
// integrity check pass. Returns the problems found, empty when the file is sound.
QStringList checkFile(const QString& path, const Workspace& workspace = Workspace{});

}  // namespace store::schema
