#include "store/file/file_additions.h"

#include <sqlite3.h>

#include <QMap>

#include "store/addition_problems.h"
#include "store/file/engine_error.h"
#include "store/file/statement.h"
#include "store/file/values.h"
#include "store/tables.h"

namespace store::file {
namespace {

constexpr const char* kPhraseTable =
    "CREATE TABLE PHRASE_T (ＮＯ INTEGER PRIMARY KEY AUTOINCREMENT, 文言 TEXT, 順番 INTEGER)";

// The declared type of each column of table, by name; empty when the table is not there.
QMap<QString, QString> declaredTypes(sqlite3* db, const QString& table) {
    QMap<QString, QString> types;
    Statement st(db, QStringLiteral("Select name, type From pragma_table_info(?)"));
    st.bind({table});
    while (st.step()) {
        types.insert(columnText(st.get(), 0), columnText(st.get(), 1).toUpper());
    }
    return types;
}

// The engine's rule for a declared type: integer affinity, or text affinity.
bool ofType(const QString& declared, bool integer) {
    if (integer) {
        return declared.contains(QLatin1String("INT"));
    }
    return !declared.contains(QLatin1String("INT")) &&
           (declared.contains(QLatin1String("CHAR")) || declared.contains(QLatin1String("CLOB")) ||
            declared.contains(QLatin1String("TEXT")));
}

QString typeName(bool integer) {
    return integer ? QStringLiteral("INTEGER") : QStringLiteral("TEXT");
}

}  // namespace

Additions additionsOf(sqlite3* db) {
    Additions present;
    const QMap<QString, QString> columns = declaredTypes(db, memo::tableName());
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        present.columns[c] = columns.contains(memo::kAddedColumns[c].text());
    }
    for (std::size_t t = 0; t < kAddedTableCount; ++t) {
        present.tables[t] = !declaredTypes(db, tableName(AddedTable(t))).isEmpty();
    }
    return present;
}

void addAdditions(sqlite3* db, const Additions& present) {
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (!present.columns[c]) {
            const memo::AddedColumn& column = memo::kAddedColumns[c];
            execScript(db, QStringLiteral("ALTER TABLE MEMO_T ADD COLUMN %1 %2")
                               .arg(column.text(), typeName(column.integer))
                               .toUtf8()
                               .constData());
        }
    }
    if (!present.has(AddedTable::Phrases)) {
        execScript(db, kPhraseTable);
    }
}

QStringList additionProblems(sqlite3* db) {
    return problemsOfAdditions(declaredTypes(db, memo::tableName()),
                               declaredTypes(db, phrases::tableName()), ofType, typeName);
}

QString addedSelection(const Additions& present) {
    QString out;
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        out += u',' + (present.columns[c] ? memo::kAddedColumns[c].text() : QStringLiteral("Null"));
    }
    return out;
}

QString addedInsertColumns(const Additions& present) {
    QString out;
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            out += u',' + memo::kAddedColumns[c].text();
        }
    }
    return out;
}

QString addedInsertMarks(const Additions& present) {
    QString out;
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            out += QStringLiteral(",?");
        }
    }
    return out;
}

void appendAddedParams(const Additions& present, const AddedTexts& added, Params& params) {
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            params.push_back(addedParam(memo::Added(c), added[c]));
        } else if (added[c]) {
            throw Error(Error::Kind::Other,
                        QStringLiteral("データファイルに列 %1 がありません（dulvane-admin upgrade "
                                       "で追加できます）。")
                            .arg(memo::kAddedColumns[c].text()));
        }
    }
}

Param addedParam(memo::Added column, const std::optional<QString>& value) {
    if (!value) {
        return nullptr;
    }
    if (memo::kAddedColumns[std::size_t(column)].integer) {
        bool ok = false;
        const qlonglong n = value->toLongLong(&ok);
        if (ok) {
            return std::int64_t(n);
        }
    }
    return *value;
}

}  // namespace store::file
