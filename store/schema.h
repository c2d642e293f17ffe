#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "store/workspace.h"

// Making and checking the two kinds of file, for the administration command and the tests.
// The program itself only makes a user's own empty settings file; it never alters a file.
namespace store::schema {

// Makes the message table at a location: a new, empty data file with MEMO_T (an existing path
// is refused), or MEMO_T on a server (upgrade and check below take a server's URI too).
void createDataFile(const QString& location, const Workspace& workspace = Workspace{});

// Whether a data file is at the path, or a server's database holds MEMO_T.
bool dataExists(const QString& location, const Workspace& workspace = Workspace{});

// Makes a new settings file with INI_T and its row ＮＯ = 1 (Null where a value is absent).
void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder,
                        const Workspace& workspace = Workspace{});

// Adds what data made by an earlier release lacks (the indexes on 既読 and on the three name
// columns, the added columns 至急 and 対応日時, the table of phrases PHRASE_T, filled with the
// phrases the program offered without it); changes nothing else. Returns true when something
// was added.
bool upgradeDataFile(const QString& location, const Workspace& workspace = Workspace{});

// Checks existing data: is it a database, does it hold the table and its columns, does the
// integrity check pass. Returns the problems found, empty when it is sound. A settings file is
// checked as one.
QStringList checkFile(const QString& location, const Workspace& workspace = Workspace{});

}  // namespace store::schema
