#include "app/settings_store.h"

#include <sqlite3.h>
#include <QDir>

#include "store/memo_table.h"
#include "store/settings_table.h"

namespace app {

QString settingsFileName() {
    return QStringLiteral("DULVANE.INI");
}

QString settingsPathIn(const QString& programFolder) {
    return QDir(programFolder).filePath(settingsFileName());
}

void loadSettings(Module1& state) {
    state.Db_Ini = state.Ws_Main.openDatabase(state.iniPath, store::settings::tableName(),
                                              store::settings::requiredColumns());
    state.My_Name.clear();
    state.My_Folder.clear();
    store::Recordset rs = store::settings::read(*state.Db_Ini);
    if (rs.RecordCount() != 0) {
        rs.MoveFirst();
        if (!rs.Fields(QStringLiteral("名前")).isNull()) {
            state.My_Name = rs.Fields(QStringLiteral("名前")).value();
        }
        if (!rs.Fields(QStringLiteral("フォルダ")).isNull()) {
            state.My_Folder = rs.Fields(QStringLiteral("フォルダ")).value();
        }
    }
}

void openDataFile(Module1& state) {
    state.Db_Data = state.Ws_Main.openDatabase(state.My_Folder, store::memo::tableName(),
                                               store::memo::requiredColumns());
}

void saveSettings(Module1& state, const QString& name, const QString& folder) {
    if (!state.Db_Ini) {
        throw store::Error(SQLITE_CANTOPEN, QStringLiteral("設定ファイルが開かれていません。"));
    }
    store::settings::save(*state.Db_Ini, name, folder);
    state.My_Name = name;
    state.My_Folder = folder;
}

}  // namespace app
