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

void Form1::watchFailed(const std::exception& failure) {
    // A file that stays unreachable fails every tick: only the first of the run is written.
    if (watchFailures_++ == 0) {
        logFailure(QStringLiteral("watch"), failure);
    }
}

void Form1::watchSucceeded() {
    if (watchFailures_ == 0) {
        return;
    }
    app::logEntry(state_.logPath, QStringLiteral("watch"), dataLocation(), std::nullopt,
                  QStringLiteral("recovered after %1 failed checks").arg(watchFailures_));
    watchFailures_ = 0;
}
