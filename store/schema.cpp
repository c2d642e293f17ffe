#include "store/schema.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <iterator>

#include "store/error.h"
#include "store/file/connection.h"
#include "store/file/statement.h"
#include "store/location.h"
#include "store/memo_table.h"
#include "store/server/schema.h"
#include "store/settings_table.h"
#include "store/transaction.h"

namespace store::schema {

using namespace store::file;
namespace {

constexpr const char* kMemoTable =
    "CREATE TABLE MEMO_T ("
    "ＮＯ INTEGER PRIMARY KEY AUTOINCREMENT, "
    "宛名 TEXT, 相手 TEXT, 受人 TEXT, メモ TEXT, 内外線 TEXT, 電話 TEXT, 受付日時 TEXT, 既読 TEXT)";
// The new-message poll and the mark-as-read update look for unread rows only; this index
// keeps them from reading every message ever kept.
constexpr const char* kUnreadIndex = "CREATE INDEX IF NOT EXISTS MEMO_T_既読 ON MEMO_T (既読)";
// The reset's three pick lists (Select Distinct of each name column) read these small indexes
// instead of every message, about four times faster; the names then come in sorted order.
constexpr const char* kNameIndexes[] = {
    "CREATE INDEX IF NOT EXISTS MEMO_T_宛名 ON MEMO_T (宛名)",
    "CREATE INDEX IF NOT EXISTS MEMO_T_相手 ON MEMO_T (相手)",
    "CREATE INDEX IF NOT EXISTS MEMO_T_受人 ON MEMO_T (受人)",
};
constexpr const char* kIndexNames[] = {"MEMO_T_既読", "MEMO_T_宛名", "MEMO_T_相手", "MEMO_T_受人"};
constexpr const char* kSettingsTable =
    "CREATE TABLE INI_T (ＮＯ INTEGER PRIMARY KEY, 名前 TEXT, フォルダ TEXT)";

// Reserves the path with a new empty file, so an existing file is never overwritten.
Connection createNew(const QString& path, const Workspace& workspace) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        throw engineError(
            SQLITE_CANTOPEN,
            QFileInfo::exists(path)
                ? QStringLiteral("ファイルが既にあります（上書きしません）: %1").arg(path)
                : QStringLiteral("ファイルを作れません: %1 (%2)").arg(path, file.errorString()));
    }
    file.close();
    return Connection::open(path, Connection::Mode::CreateNew, workspace.busyTimeout());
}

Connection openExisting(const QString& path, const Workspace& workspace) {
    if (!QFileInfo(path).isFile()) {
        throw engineError(SQLITE_CANTOPEN,
                          QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    return Connection::open(path, Connection::Mode::Existing, workspace.busyTimeout());
}

bool hasTable(sqlite3* db, const QString& table) {
    Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
    st.bind({table});
    return st.step();
}

}  // namespace

void createDataFile(const QString& path, const Workspace& workspace) {
    if (isServerLocation(path)) {
        store::server::schema::createData(path, workspace.busyTimeout());
        return;
    }
    const Connection db = createNew(path, workspace);
    execScript(db.get(), "PRAGMA journal_mode=DELETE");
    Transaction transaction(db.get(), Transaction::Kind::Write);
    execScript(db.get(), kMemoTable);
    execScript(db.get(), kUnreadIndex);
    for (const char* index : kNameIndexes) {
        execScript(db.get(), index);
    }
    transaction.commit();
}

bool dataExists(const QString& path, const Workspace& workspace) {
    if (isServerLocation(path)) {
        return store::server::schema::hasData(path, workspace.busyTimeout());
    }
    return QFileInfo::exists(path);
}

void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder, const Workspace& workspace) {
    const Connection db = createNew(path, workspace);
    Transaction transaction(db.get(), Transaction::Kind::Write);
    execScript(db.get(), kSettingsTable);
    {
        Statement st(db.get(),
                     QStringLiteral("INSERT INTO INI_T (ＮＯ, 名前, フォルダ) VALUES (1, ?, ?)"));
        st.bind({name ? Param(*name) : Param(nullptr), folder ? Param(*folder) : Param(nullptr)});
        st.step();
    }
    transaction.commit();
}

bool upgradeDataFile(const QString& path, const Workspace& workspace) {
    if (isServerLocation(path)) {
        return store::server::schema::upgradeData(path, workspace.busyTimeout());
    }
    const Connection db = openExisting(path, workspace);
    if (!hasTable(db.get(), memo::tableName())) {
        throw engineError(SQLITE_ERROR, QStringLiteral("MEMO_T がありません: %1").arg(path));
    }
    int present = 0;
    for (const char* name : kIndexNames) {
        Statement st(db.get(),
                     QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND name=?"));
        st.bind({QString::fromUtf8(name)});
        present += st.step() ? 1 : 0;
    }
    if (present == int(std::size(kIndexNames))) {
        return false;
    }
    Transaction transaction(db.get(), Transaction::Kind::Write);
    execScript(db.get(), kUnreadIndex);
    for (const char* index : kNameIndexes) {
        execScript(db.get(), index);
    }
    transaction.commit();
    return true;
}

QStringList checkFile(const QString& path, const Workspace& workspace) {
    if (isServerLocation(path)) {
        return store::server::schema::checkData(path, workspace.busyTimeout());
    }
    QStringList problems;
    try {
        const Connection db = openExisting(path, workspace);
        if (QFileInfo(path).size() == 0) {
            return {QStringLiteral("ファイルが空です（データベースではありません）。")};
        }
        Statement(db.get(), QStringLiteral("PRAGMA schema_version")).step();
        QString table;
        QStringList columns;
        if (hasTable(db.get(), memo::tableName())) {
            table = memo::tableName();
            columns = memo::requiredColumns();
        } else if (hasTable(db.get(), settings::tableName())) {
            table = settings::tableName();
            columns = settings::requiredColumns();
        } else {
            return {QStringLiteral("MEMO_T も INI_T もありません。")};
        }
        for (const QString& column : columns) {
            try {
                Statement(db.get(), QStringLiteral("Select %1 From %2 Limit 0").arg(column, table));
            } catch (const Error&) {
                problems << QStringLiteral("%1 に列 %2 がありません。").arg(table, column);
            }
        }
        Statement st(db.get(), QStringLiteral("PRAGMA integrity_check"));
        while (st.step()) {
            const QString line =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
            if (line != QLatin1String("ok")) {
                problems << QStringLiteral("整合性: %1").arg(line);
            }
        }
    } catch (const Error& e) {
        problems << e.report();
    }
    return problems;
}

}  // namespace store::schema
