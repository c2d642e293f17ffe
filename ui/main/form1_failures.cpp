// The failure log: what went wrong with the data file, for whoever looks after the program.
// The user sees each operation's own message; the log keeps the engine's report.
#include "app/failure_log.h"
#include "ui/main/form1.h"

QString Form1::dataLocation() const {
    // The file the program works on, or, when none is open, the path it could not open.
    return state_.Db_Data ? state_.Db_Data->path() : state_.My_Folder;
}

void Form1::logFailure(const QString& operation, const std::exception& failure) const {
    app::logFailure(state_.logPath, operation, dataLocation(), failure);
}
