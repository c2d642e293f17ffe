#include "store/schema.h"

#include "store/database.h"
#include "store/phrases.h"
#include "store/settings_table.h"

namespace store::schema {

void createDataFile(const QString& location, const Workspace& workspace) {
    const std::unique_ptr<Database> db = workspace.database(location);
    db->createTable();
    phrases::fillWhenEmpty(*db);
}

bool dataExists(const QString& location, const Workspace& workspace) {
    return workspace.database(location)->dataExists();
}

void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder, const Workspace& workspace) {
    settings::createFile(path, name, folder, workspace);
}

bool upgradeDataFile(const QString& location, const Workspace& workspace) {
    const std::unique_ptr<Database> db = workspace.database(location);
    bool hadPhrases = false;
    try {
        hadPhrases = db->additions().has(AddedTable::Phrases);
    } catch (const Error&) {
        // Not data the upgrade can work on: upgradeTable says why.
    }
    const bool added = db->upgradeTable();
    if (!hadPhrases) {
        // A table of phrases made now starts with the phrases the program offered without it.
        phrases::fillWhenEmpty(*db);
    }
    return added;
}

QStringList checkFile(const QString& location, const Workspace& workspace) {
    return workspace.database(location)->checkTable();
}

}  // namespace store::schema
