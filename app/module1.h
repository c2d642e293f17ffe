#pragma once

#include <QString>
#include <memory>

#include "app/data_thread.h"
#include "store/database.h"
#include "store/settings_table.h"
#include "store/workspace.h"

// The program state that every handler shares, from start-up to the end of the program.
struct Module1 {
    store::Workspace Ws_Main;
    std::unique_ptr<store::settings::File> Db_Ini;  // always a file on the workstation
    std::unique_ptr<store::Database> Db_Data;       // absent when its open failed
    QString My_Name;
    QString My_Folder;
    // Desktop notifications in the watch's box's place: the user's choice, from the settings
    // file; off unless chosen.
    bool desktopNotices = false;

    // Where the settings file lies: "DULVANE.INI" in the program's folder when one lies there,
    // else the user's own (app::locateSettings).
    QString iniPath;

    // Where failed operations are written for whoever looks after the program (app/
    // failure_log.h); "" writes nowhere.
    QString logPath;

    // The thread that runs every operation on Db_Ini and Db_Data while the windows run. Last,
    // so that it has ended before the databases close.
    app::DataThread dataThread;
};
