// Making, upgrading and checking the two kinds of file.
#include "store/file/file_schema.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <array>
#include <iterator>

#include "store/file/engine_error.h"
#include "store/file/file_additions.h"
#include "store/file/file_database.h"
#include "store/file/statement.h"
#include "store/tables.h"

namespace store::file {
namespace {

// MEMO_T from the column list: the key numbered automatically (a number is never handed out
// twice), every other column text.
QString memoTable() {
    QStringList columns;
    for (const Column& column : memo::kColumns) {
        columns << column.text() + (column.key
                                        ? QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")
                                        : QStringLiteral(" TEXT"));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(memo::tableName(), columns.join(u", "));
}

// The new-message poll and the mark-as-read update look for unread rows only; this index
// keeps them from reading every message ever kept.
constexpr const char* kUnreadIndex = "CREATE INDEX IF NOT EXISTS MEMO_T_既読 ON MEMO_T (既読)";
// The reset's three pick lists step through these small indexes from one name to the next
// instead of reading every message; the names then come in sorted order.
constexpr const char* kNameIndexes[] = {
    "CREATE INDEX IF NOT EXISTS MEMO_T_宛名 ON MEMO_T (宛名)",
    "CREATE INDEX IF NOT EXISTS MEMO_T_相手 ON MEMO_T (相手)",
    "CREATE INDEX IF NOT EXISTS MEMO_T_受人 ON MEMO_T (受人)",
};
constexpr const char* kIndexNames[] = {"MEMO_T_既読", "MEMO_T_宛名", "MEMO_T_相手", "MEMO_T_受人"};
constexpr const char* kSettingsTable =
    "CREATE TABLE INI_T (ＮＯ INTEGER PRIMARY KEY, 名前 TEXT, フォルダ TEXT)";

Connection openExisting(const QString& path, std::chrono::milliseconds busyTimeout) {
    if (!QFileInfo(path).isFile()) {
        throw engineError(SQLITE_CANTOPEN,
                          QStringLiteral("ファイルが見つかりません: %1").arg(path));
    }
    return Connection::open(path, Connection::Mode::Existing, busyTimeout);
}

}  // namespace

bool hasTable(sqlite3* db, const QString& table) {
    Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?"));
    st.bind({table});
    return st.step();
}

namespace {

bool hasIndex(sqlite3* db, const char* name) {
    Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND name=?"));
    st.bind({QString::fromUtf8(name)});
    return st.step();
}

// A later table from its column list: the key a number of its own, a unique name never empty.
template <std::size_t N>
QString laterTable(const QString& name, const std::array<Column, N>& list) {
    QStringList columns;
    for (const Column& column : list) {
        const QString c = column.text();
        columns << c + (column.key       ? QStringLiteral(" INTEGER PRIMARY KEY")
                        : column.integer ? QStringLiteral(" INTEGER")
                        : column.unique
                            ? QStringLiteral(" TEXT NOT NULL UNIQUE CHECK (%1 <> '')").arg(c)
                            : QStringLiteral(" TEXT"));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(name, columns.join(u", "));
}

bool hasMemoColumn(sqlite3* db, const QString& column) {
    Statement st(db, QStringLiteral("Select 1 From pragma_table_info('MEMO_T') Where name = ?"));
    st.bind({column});
    return st.step();
}

// What later releases added and the data lacks: the staff directory, the relay's table and
// MEMO_T's added columns. Adds them when add is set; returns true when something was lacking.
bool laterParts(sqlite3* db, bool add) {
    bool lacking = false;
    auto make = [&](const QString& sql) {
        lacking = true;
        if (add) {
            execScript(db, sql.toUtf8().constData());
        }
    };
    if (!hasTable(db, staff::tableName())) {
        make(laterTable(staff::tableName(), staff::kColumns));
    }
    if (!hasTable(db, relay::tableName())) {
        make(laterTable(relay::tableName(), relay::kColumns));
    }
    for (const Column& column : memo::kRelayColumns) {
        if (!hasMemoColumn(db, column.text())) {
            make(QStringLiteral("ALTER TABLE MEMO_T ADD COLUMN %1 TEXT").arg(column.text()));
        }
    }
    return lacking;
}

void createIndexes(sqlite3* db) {
    execScript(db, kUnreadIndex);
    for (const char* index : kNameIndexes) {
        execScript(db, index);
    }
}

}  // namespace

QString memoColumns(std::size_t first) {
    QStringList names;
    for (std::size_t c = first; c < memo::kColumns.size(); ++c) {
        names << memo::kColumns[c].text();
    }
    return names.join(u',');
}

QString placeholders(std::size_t count) {
    QStringList marks;
    for (std::size_t i = 0; i < count; ++i) {
        marks << QStringLiteral("?");
    }
    return marks.join(u',');
}

Connection createNewFile(const QString& path, std::chrono::milliseconds busyTimeout) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        throw engineError(
            SQLITE_CANTOPEN,
            QFileInfo::exists(path)
                ? QStringLiteral("ファイルが既にあります（上書きしません）: %1").arg(path)
                : QStringLiteral("ファイルを作れません: %1 (%2)").arg(path, file.errorString()));
    }
    file.close();
    return Connection::open(path, Connection::Mode::CreateNew, busyTimeout);
}

void createSettingsFile(const QString& path, const std::optional<QString>& name,
                        const std::optional<QString>& folder,
                        std::chrono::milliseconds busyTimeout) {
    Connection db = createNewFile(path, busyTimeout);
    Transaction transaction(db, Transaction::Kind::Write);
    execScript(db.get(), kSettingsTable);
    {
        Statement st(db.get(),
                     QStringLiteral("INSERT INTO INI_T (ＮＯ, 名前, フォルダ) VALUES (1, ?, ?)"));
        st.bind({name ? Param(*name) : Param(nullptr), folder ? Param(*folder) : Param(nullptr)});
        st.step();
    }
    transaction.commit();
}

bool addLaterParts(sqlite3* db) {
    return laterParts(db, true);
}

bool hasMemoColumnNamed(sqlite3* db, const QString& column) {
    return hasMemoColumn(db, column);
}

bool hasNameIndexes(sqlite3* db) {
    for (const char* name : kIndexNames) {
        if (!hasIndex(db, name)) {
            return false;
        }
    }
    return true;
}

void FileDatabase::createTable() {
    Connection db = createNewFile(path(), busyTimeout());
    execScript(db.get(), "PRAGMA journal_mode=DELETE");
    Transaction transaction(db, Transaction::Kind::Write);
    execScript(db.get(), memoTable().toUtf8().constData());
    createIndexes(db.get());
    laterParts(db.get(), true);
    addAdditions(db.get(), Additions{});
    transaction.commit();
}

bool FileDatabase::dataExists() {
    return QFileInfo::exists(path());
}

bool FileDatabase::upgradeTable() {
    Connection db = openExisting(path(), busyTimeout());
    if (!hasTable(db.get(), memo::tableName())) {
        // Most often the settings file given in the data file's place.
        throw Error(
            Error::Kind::NotADataFile,
            hasTable(db.get(), settings::tableName())
                ? QStringLiteral("設定ファイルです。データファイルではありません: %1").arg(path())
                : QStringLiteral("MEMO_T がありません: %1").arg(path()),
            QString::number(SQLITE_ERROR));
    }
    int present = 0;
    for (const char* name : kIndexNames) {
        present += hasIndex(db.get(), name) ? 1 : 0;
    }
    if (present == int(std::size(kIndexNames)) && !laterParts(db.get(), false) &&
        additionsOf(db.get()).complete()) {
        return false;
    }
    Transaction transaction(db, Transaction::Kind::Write);
    laterParts(db.get(), true);
    createIndexes(db.get());
    // Read again under the write lock: another upgrade may have added them meanwhile.
    addAdditions(db.get(), additionsOf(db.get()));
    transaction.commit();
    return true;
}

QStringList FileDatabase::checkTable() {
    QStringList problems;
    try {
        const Connection db = openExisting(path(), busyTimeout());
        if (QFileInfo(path()).size() == 0) {
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
        if (table == memo::tableName() && hasTable(db.get(), staff::tableName())) {
            for (const Column& column : staff::kColumns) {
                try {
                    Statement(db.get(), QStringLiteral("Select %1 From %2 Limit 0")
                                            .arg(column.text(), staff::tableName()));
                } catch (const Error&) {
                    problems << QStringLiteral("%1 に列 %2 がありません。")
                                    .arg(staff::tableName(), column.text());
                }
            }
        }
        if (table == memo::tableName()) {
            problems << additionProblems(db.get());
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

}  // namespace store::file
