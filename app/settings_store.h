#pragma once

#include <QString>

#include "app/module1.h"

namespace app {

// The settings file's name, in the program's own folder or in the user's.
QString settingsFileName();
QString settingsPathIn(const QString& programFolder);

// Which settings file the program uses.
struct SettingsLocation {
    QString path;
    bool usersOwn = false;  // the user's own file, not one beside the program
};

// The user's own configuration folder, e.g. ~/.config/dulvane.
QString userSettingsFolder();

// A program folder that holds a settings file keeps using it (a portable installation);
// otherwise the settings file is the user's own, in userFolder.
SettingsLocation locateSettings(const QString& programFolder, const QString& userFolder);

// Makes the user's own settings file, its folder included, with an empty name and path when
// it does not exist yet, so the settings window asks for both. An existing file is never
// replaced, and nothing is ever written beside the program. Throws store::Error when the file
// cannot be made.
void provideSettings(const SettingsLocation& where);

// Opens the settings file as Db_Ini and reads row ＮＯ = 1 into My_Name and My_Folder
// (Null or no row reads as ""), and the choice of desktop notifications (off when it cannot
// be read). Throws store::Error when the file cannot be used.
void loadSettings(Module1& state);

// Opens My_Folder as Db_Data. Throws store::Error when it cannot be opened; Db_Data then
// stays absent.
void openDataFile(Module1& state);

// Stores name and path in the settings file, then takes them into the state. When the
// file cannot be written the state keeps its old values and store::Error is thrown.
void saveSettings(Module1& state, const QString& name, const QString& folder);

// Stores the choice of desktop notifications, then takes it into the state. When the file
// cannot be written the state keeps its old choice and store::Error is thrown.
void saveDesktopNotices(Module1& state, bool on);

}  // namespace app
