#include "app/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "store/error.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/settings_table.h"

namespace app {

QString settingsFileName() {
    return QStringLiteral("DULVANE.INI");
}

QString settingsPathIn(const QString& programFolder) {
    return QDir(programFolder).filePath(settingsFileName());
}

QString userSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

SettingsLocation locateSettings(const QString& programFolder, const QString& userFolder) {
    const QString beside = settingsPathIn(programFolder);
    if (QFileInfo::exists(beside)) {
        return {beside, false};
    }
    return {QDir(userFolder).filePath(settingsFileName()), true};
}

void provideSettings(const SettingsLocation& where) {
    if (!where.usersOwn || QFileInfo::exists(where.path)) {
        return;
    }
    // A folder that cannot be made shows up below as the engine's report on the file.
    QDir().mkpath(QFileInfo(where.path).absolutePath());
    // Made under a passing name and moved into place in one step: a half-made file is never
    // taken for the settings, and a file that another start made meanwhile is not replaced.
    const QString draft =
        QStringLiteral("%1.%2.new").arg(where.path).arg(QCoreApplication::applicationPid());
    QFile::remove(draft);
    try {
        store::schema::createSettingsFile(draft, std::nullopt, std::nullopt);
    } catch (const store::Error&) {
        QFile::remove(draft);
        throw;
    }
    if (!QFile::rename(draft, where.path)) {
        QFile::remove(draft);
        if (!QFileInfo::exists(where.path)) {
            throw store::Error::notOpen(
                QStringLiteral("設定ファイルを作れません: %1").arg(where.path));
        }
    }
}

void loadSettings(Module1& state) {
    state.Db_Ini = std::make_unique<store::settings::File>(state.iniPath, state.Ws_Main);
    state.My_Name.clear();
    state.My_Folder.clear();
    const store::settings::Row row = state.Db_Ini->read();
    state.My_Name = row.name;
    state.My_Folder = row.folder;
    // The choice is an extra: a file that cannot tell it still starts the program, with it off.
    try {
        state.desktopNotices = state.Db_Ini->readDesktopNotices();
    } catch (const store::Error&) {
        state.desktopNotices = false;
    }
}

void openDataFile(Module1& state) {
    state.Db_Data = state.Ws_Main.openDatabase(state.My_Folder, store::memo::tableName(),
                                               store::memo::requiredColumns());
}

void saveSettings(Module1& state, const QString& name, const QString& folder) {
    if (!state.Db_Ini) {
        throw store::Error::notOpen(QStringLiteral("設定ファイルが開かれていません。"));
    }
    state.Db_Ini->save(name, folder);
    state.My_Name = name;
    state.My_Folder = folder;
}

void saveDesktopNotices(Module1& state, bool on) {
    if (!state.Db_Ini) {
        throw store::Error::notOpen(QStringLiteral("設定ファイルが開かれていません。"));
    }
    state.Db_Ini->saveDesktopNotices(on);
    state.desktopNotices = on;
}

}  // namespace app
