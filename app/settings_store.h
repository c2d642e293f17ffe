#pragma once

#include <QString>

#include "app/module1.h"

namespace app {

// The settings file's name, in the program's own folder.
QString settingsFileName();
QString settingsPathIn(const QString& programFolder);

// Opens the settings file as Db_Ini and reads row ＮＯ = 1 into My_Name and My_Folder
// (Null or no row reads as ""). Throws store::Error when the file cannot be used.
void loadSettings(Module1& state);

// Opens My_Folder as Db_Data. Throws store::Error when it cannot be opened; Db_Data then
// stays absent.
void openDataFile(Module1& state);

// Stores name and path in the settings file, then takes them into the state. When the
// file cannot be written the state keeps its old values and store::Error is thrown.
void saveSettings(Module1& state, const QString& name, const QString& folder);

}  // namespace app
