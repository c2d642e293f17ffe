#include "store/file/page_copy.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include "store/error.h"
#include "store/file/connection.h"
#include "store/file/statement.h"

namespace store::file {

void copyPages(sqlite3* const from, const QString& fromPath, const QString& copyPath,
               const std::chrono::milliseconds patience,
               const std::function<void(std::int64_t, std::int64_t)>& progress) {
    // A few hundred pages a step: other workstations get the file between steps.
    constexpr int kPagesPerStep = 256;
    // A writer that changes the file during a step makes the engine start the copy again;
    // after this many fresh starts the rest is copied in one step under one read lock.
    constexpr int kRestartsBeforeOneStep = 3;
    constexpr int kWaitMs = 20;

    const Connection dest = Connection::open(copyPath, Connection::Mode::Existing, patience);
    sqlite3* const raw = dest.get();
    sqlite3_backup* backup = sqlite3_backup_init(raw, "main", from, "main");
    if (backup == nullptr) {
        throwEngineError(raw, sqlite3_errcode(raw));
    }
    using Clock = std::chrono::steady_clock;
    auto lastProgress = Clock::now();
    int pages = kPagesPerStep;
    int restarts = 0;
    int lastRemaining = -1;
    for (;;) {
        const int rc = sqlite3_backup_step(backup, pages);
        const int remaining = sqlite3_backup_remaining(backup);
        const int total = sqlite3_backup_pagecount(backup);
        if (rc == SQLITE_OK || rc == SQLITE_DONE) {
            if (progress) {
                progress(total - remaining, total);
            }
            if (rc == SQLITE_DONE) {
                break;
            }
            if (lastRemaining >= 0 && remaining >= lastRemaining &&
                ++restarts >= kRestartsBeforeOneStep) {
                pages = -1;
            }
            lastRemaining = remaining;
            lastProgress = Clock::now();
        } else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // Another workstation writes: wait a moment and try the step again.
            if (Clock::now() - lastProgress > patience) {
                sqlite3_backup_finish(backup);
                throw engineError(rc,
                                  QStringLiteral("データファイルが使用中のため、コピーを続けられま"
                                                 "せん: %1")
                                      .arg(fromPath));
            }
            sqlite3_sleep(kWaitMs);
        } else {
            sqlite3_backup_finish(backup);
            throwEngineError(raw, rc);
        }
    }
    const int frc = sqlite3_backup_finish(backup);
    if (frc != SQLITE_OK) {
        throwEngineError(raw, frc);
    }
    // The copy is a shared data file like the original: rollback journal, checked sound.
    execScript(raw, "PRAGMA journal_mode=DELETE");
    Statement check(raw, QStringLiteral("PRAGMA integrity_check"));
    while (check.step()) {
        const QString line =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)));
        if (line != QLatin1String("ok")) {
            throw engineError(SQLITE_CORRUPT, QStringLiteral("コピーの整合性: %1").arg(line));
        }
    }
}

}  // namespace store::file
