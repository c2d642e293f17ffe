// Arbitrary bytes opened as the data file and as the settings file, the way the program opens
// them, then used the way its windows use them. Every outcome must be a success or a
// store::Error: no crash, no other exception. A file that failed to open must be left exactly
// as it was, with nothing created beside it.
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <functional>

#include "store/database.h"
#include "store/error.h"
#include "store/file/file_database.h"
#include "store/memo_table.h"
#include "store/settings_table.h"

namespace {

const QString& folder() {
    static const QString path = [] {
        char name[] = "/tmp/dulvane-open-fuzz-XXXXXX";
        if (::mkdtemp(name) == nullptr) {
            std::abort();
        }
        std::atexit([] { QDir(folder()).removeRecursively(); });
        return QString::fromLocal8Bit(name);
    }();
    return path;
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void clearFolder() {
    QDir dir(folder());
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        dir.remove(name);
    }
}

// Runs one use of the file; a store::Error is a clean failure.
void use(const std::function<void()>& f) {
    try {
        f();
    } catch (const store::Error&) {
    }
}

void tryFile(const QByteArray& bytes, bool asData) {
    clearFolder();
    const QString path =
        folder() + (asData ? QStringLiteral("/dulvane.mdb") : QStringLiteral("/DULVANE.INI"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            std::abort();
        }
        f.write(bytes);
    }
    const store::Workspace workspace{std::chrono::milliseconds(0)};
    std::unique_ptr<store::Database> db;
    std::unique_ptr<store::file::FileDatabase> settings;
    try {
        if (asData) {
            db = workspace.openDatabase(path, store::memo::tableName(),
                                        store::memo::requiredColumns());
        } else {
            settings = workspace.openFile(path, store::settings::tableName(),
                                          store::settings::requiredColumns());
        }
    } catch (const store::Error&) {
        // Refused: untouched, and alone in its folder.
        if (bytesOf(path) != bytes ||
            QDir(folder()).entryList(QDir::Files | QDir::Hidden).size() != 1) {
            std::abort();
        }
        return;
    }
    if (asData) {
        use([&] { store::memo::pickLists(*db); });
        store::memo::Listing listed;
        use([&] { listed = store::memo::receivedList(*db, QStringLiteral("a")); });
        use([&] { store::memo::sentList(*db, QStringLiteral("a")); });
        use([&] { store::memo::hasUnread(*db, QStringLiteral("a")); });
        use([&] { store::memo::insert(*db, {"a", "b", "a", "c", true, "", "2026/12/07 10:00"}); });
        use([&] {
            store::memo::markRead(*db, QStringLiteral("a"), "2026/12/07",
                                  store::memo::highestNumber(listed));
        });
        use([&] { store::memo::remove(*db, 1); });
    } else {
        use([&] { store::settings::read(*settings); });
        use([&] { store::settings::save(*settings, QStringLiteral("a"), QStringLiteral("/x")); });
        db = std::move(settings);
    }
    if (db->openStatementCount() != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    tryFile(bytes, true);
    tryFile(bytes, false);
    return 0;
}
