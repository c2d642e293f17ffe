// The one place that tells which engine a location needs.
#include "store/file/file_database.h"
#include "store/location.h"
#include "store/server/server_database.h"
#include "store/tables.h"
#include "store/workspace.h"

namespace store {
namespace {

std::unique_ptr<Database> make(const QString& location, const QString& requiredTable,
                               const QStringList& requiredColumns,
                               std::chrono::milliseconds busyTimeout) {
    if (isServerLocation(location)) {
        return std::make_unique<server::ServerDatabase>(location, requiredTable, requiredColumns,
                                                        busyTimeout);
    }
    return std::make_unique<file::FileDatabase>(location, requiredTable, requiredColumns,
                                                busyTimeout);
}

}  // namespace

std::unique_ptr<Database> Workspace::database(const QString& location) const {
    return make(location, memo::tableName(), memo::requiredColumns(), busyTimeout_);
}

std::unique_ptr<Database> Workspace::openDatabase(const QString& location,
                                                  const QString& requiredTable,
                                                  const QStringList& requiredColumns) const {
    std::unique_ptr<Database> db = make(location, requiredTable, requiredColumns, busyTimeout_);
    db->open();
    return db;
}

std::unique_ptr<file::FileDatabase> Workspace::openFile(const QString& path,
                                                        const QString& requiredTable,
                                                        const QStringList& requiredColumns) const {
    auto db =
        std::make_unique<file::FileDatabase>(path, requiredTable, requiredColumns, busyTimeout_);
    db->open();
    return db;
}

QString engineVersionText() {
    return file::engineVersionText();
}

}  // namespace store
