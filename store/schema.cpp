#include "store/schema.h"

#include "store/database.h"
#include "store/settings_table.h"

namespace store::schema {

void createDataFile(const QString& location, const Workspace& workspace) {
    workspace.database(location)->createTable();
}

bool dataExists(const QString& location, const Workspace& workspace) {
    return workspace.database(location)->dataExists();
}

void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder, const Workspace& workspace) {
    settings::createFile(path, name, folder, workspace);
}

bool upgradeDataFile(const QString& location, const Workspace& workspace) {
    return workspace.database(location)->upgradeTable();
}

QStringList checkFile(const QString& location, const Workspace& workspace) {
    return workspace.database(location)->checkTable();
}

}  // namespace store::schema
