// Putting a data file back from a backup.
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <optional>

#include "store/file/connection.h"
#include "store/file/file_database.h"
#include "store/file/file_identity.h"
#include "store/file/numbering.h"
#include "store/file/page_copy.h"
#include "store/file/statement.h"
#include "store/tables.h"

namespace store::file {
namespace {

// The highest number a data file ever handed out or holds.
std::int64_t highestNumber(sqlite3* h) {
    return std::max(numbering::highestEverNumbered(h), numbering::highestHeld(h));
}

void requireMessageTable(sqlite3* h) {
    Statement(
        h, QStringLiteral("Select %1 From MEMO_T Limit 0").arg(memo::requiredColumns().join(u',')));
}

// The backup: a sound data file with MEMO_T, numbered automatically.
void checkBackup(const QString& path, sqlite3* h, std::chrono::milliseconds wait) {
    const QStringList problems =
        FileDatabase(path, memo::tableName(), memo::requiredColumns(), wait).checkTable();
    if (!problems.isEmpty()) {
        throw engineError(SQLITE_NOTADB,
                          QStringLiteral("バックアップ %1 は健全なデータファイルではない"
                                         "ため、戻しません（何も変えていません）: %2")
                              .arg(path, problems.join(QStringLiteral(" / "))));
    }
    try {
        requireMessageTable(h);
    } catch (const Error&) {
        throw engineError(
            SQLITE_NOTADB,
            QStringLiteral("%1 はデータファイルではありません（MEMO_T がありません。設定"
                           "ファイルではありませんか）。何も変えていません。")
                .arg(path));
    }
    if (!numbering::keepsNumbering(h)) {
        throw engineError(
            SQLITE_CONSTRAINT,
            QStringLiteral("バックアップ %1 の MEMO_T は受付NO を自動で振る作りではない"
                           "ため、戻したあと番号を先へ進めておけません（何も変えていませ"
                           "ん）。create-data で新しいデータファイルを作り、copy でこの"
                           "バックアップの伝言を写してから、そのファイルを戻してください。")
                .arg(path));
    }
}

// The file a restore replaces, read as a data file: its highest number (nullopt: no file).
std::optional<std::int64_t> replacedHighest(const QString& path, std::chrono::milliseconds wait) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return std::nullopt;
    }
    if (info.isDir()) {
        throw engineError(SQLITE_CANTOPEN,
                          QStringLiteral("フォルダはデータファイルではありません: %1").arg(path));
    }
    try {
        if (info.size() == 0) {
            throw engineError(SQLITE_NOTADB, QStringLiteral("ファイルが空です"));
        }
        Connection current = Connection::open(path, Connection::Mode::Existing, wait);
        Transaction read(current, Transaction::Kind::Read);
        requireMessageTable(current.get());
        return highestNumber(current.get());
    } catch (const Error& e) {
        throw UnreadableDataFile(engineError(
            e.code(),
            QStringLiteral("今のデータファイル %1 をデータファイルとして読めません（%2）。この"
                           "ファイルが振った受付NO が分からないため、戻すと同じ番号がもう一度振ら"
                           "れるおそれがあります。何も変えていません。")
                .arg(path, e.message())));
    }
}

}  // namespace

RestoreOutcome FileDatabase::restoreFrom(const QString& backupPath, bool replaceUnreadable,
                                         const ProgressOf& progress) {
    const QString& dataPath = path();
    const std::chrono::milliseconds wait = busyTimeout();
    RestoreOutcome outcome;

    // The backup first: nothing is made or changed for one that cannot be put back.
    if (!QFileInfo(backupPath).isFile()) {
        throw engineError(SQLITE_CANTOPEN,
                          QStringLiteral("バックアップが見つかりません（何も変えていません）: %1")
                              .arg(backupPath));
    }
    const Connection backup = Connection::open(backupPath, Connection::Mode::Existing, wait);
    checkBackup(backupPath, backup.get(), wait);

    try {
        const std::optional<std::int64_t> highest = replacedHighest(dataPath, wait);
        outcome.replaced =
            highest ? RestoreOutcome::Replaced::DataFile : RestoreOutcome::Replaced::Nothing;
    } catch (const UnreadableDataFile&) {
        if (!replaceUnreadable) {
            throw;
        }
        outcome.replaced = RestoreOutcome::Replaced::Unreadable;
    }

    // The copy, beside the data file, so that it can take the data file's name in one step.
    const QFileInfo target(dataPath);
    QTemporaryFile copy(
        target.dir().filePath(QStringLiteral(".%1.restore.XXXXXX").arg(target.fileName())));
    if (!copy.open()) {
        throw engineError(SQLITE_CANTOPEN, QStringLiteral("%1 にファイルを作れません: %2")
                                               .arg(target.dir().path(), copy.errorString()));
    }
    copy.close();
    copyPages(backup.get(), backupPath, copy.fileName(), wait,
              [&](std::int64_t done, std::int64_t total) {
                  outcome.pages = total;
                  if (progress) {
                      progress(done, total);
                  }
              });
    if (outcome.replaced == RestoreOutcome::Replaced::Nothing) {
        outcome.accessKept = QFile::setPermissions(
            copy.fileName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                 QFile::WriteUser | QFile::ReadGroup | QFile::WriteGroup);
    } else {
        outcome.accessKept = copyAccess(dataPath, copy.fileName());
    }

    Connection restored = Connection::open(copy.fileName(), Connection::Mode::Existing, wait);
    outcome.backupHighest = highestNumber(restored.get());

    // From here to the replacement no workstation writes the data file: none is half way
    // through a write, so no journal of the old file is left to be taken for the new one's,
    // and no number is handed out that the copy's numbering would not pass.
    Connection current;
    std::optional<Transaction> lock;
    if (outcome.replaced == RestoreOutcome::Replaced::DataFile) {
        current = Connection::open(dataPath, Connection::Mode::Existing, wait);
        lock.emplace(current, Transaction::Kind::Exclusive);
        outcome.dataFileHighest = highestNumber(current.get());
    }
    {
        Transaction moveOn(restored, Transaction::Kind::Write);
        numbering::numberAfter(restored.get(),
                               std::max(outcome.backupHighest, outcome.dataFileHighest));
        moveOn.commit();
    }
    outcome.nextNumber = highestNumber(restored.get()) + 1;
    if (outcome.nextNumber <= std::max(outcome.backupHighest, outcome.dataFileHighest)) {
        throw engineError(
            SQLITE_CORRUPT,
            QStringLiteral("戻すファイルの番号を先へ進められませんでした（何も変えていま"
                           "せん）: %1")
                .arg(dataPath));
    }
    restored.reset();
    replaceFile(copy.fileName(), dataPath);
    copy.setAutoRemove(false);
    return outcome;
}

}  // namespace store::file
