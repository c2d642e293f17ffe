// The additions on a server: which are there, the mark of one message, the ready phrases.
#include "store/server/additions.h"

#include <libpq-fe.h>

#include <QMap>

#include "store/addition_problems.h"
#include "store/server/listing.h"
#include "store/server/server_database.h"
#include "store/tables.h"

namespace store::server {
namespace {

constexpr const char* kPhraseTable =
    "CREATE TABLE IF NOT EXISTS \"PHRASE_T\" ("
    "\"ＮＯ\" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, \"文言\" text, \"順番\" integer)";

// The type of each column of table, by name; empty when the table is not there.
QMap<QString, QString> columnTypes(Connection& server, const QString& table) {
    // The table the program uses, not another schema's of the same name.
    const Result r = server.exec(
        QStringLiteral("SELECT attname, format_type(atttypid, atttypmod) FROM pg_attribute "
                       "WHERE attrelid = to_regclass($1) AND attnum > 0 AND NOT attisdropped"),
        {u'"' + table + u'"'});
    QMap<QString, QString> types;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        types.insert(optionalText(r, row, 0).value_or(QString()),
                     optionalText(r, row, 1).value_or(QString()));
    }
    return types;
}

bool ofType(const QString& type, bool integer) {
    static const QStringList integers{QStringLiteral("integer"), QStringLiteral("bigint"),
                                      QStringLiteral("smallint")};
    return integer ? integers.contains(type)
                   : type == QLatin1String("text") || type.startsWith(QLatin1String("character"));
}

QString typeName(bool integer) {
    return integer ? QStringLiteral("integer") : QStringLiteral("text");
}

}  // namespace

Additions additionsOf(Connection& server) {
    // One look at the catalog: MEMO_T's column names, each row telling which added tables
    // are there.
    QStringList tables;
    TextParams params{QStringLiteral("\"%1\"").arg(memo::tableName())};
    for (std::size_t t = 0; t < kAddedTableCount; ++t) {
        params.push_back(u'"' + tableName(AddedTable(t)) + u'"');
        tables << QStringLiteral("to_regclass($%1) IS NOT NULL").arg(params.size());
    }
    const Result r = server.exec(
        QStringLiteral("SELECT attname, %1 FROM pg_attribute WHERE attrelid = to_regclass($1) "
                       "AND attnum > 0 AND NOT attisdropped")
            .arg(tables.join(u", ")),
        params);
    Additions present;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        const QString name = optionalText(r, row, 0).value_or(QString());
        for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
            present.columns[c] = present.columns[c] || name == memo::kAddedColumns[c].text();
        }
        for (std::size_t t = 0; t < kAddedTableCount; ++t) {
            present.tables[t] = QByteArray(PQgetvalue(r.get(), row, int(t) + 1)) == "t";
        }
    }
    return present;
}

void addAdditions(Connection& server, const Additions& present) {
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (!present.columns[c]) {
            const memo::AddedColumn& column = memo::kAddedColumns[c];
            server.exec(QStringLiteral("ALTER TABLE \"MEMO_T\" ADD COLUMN IF NOT EXISTS \"%1\" %2")
                            .arg(column.text(), typeName(column.integer)));
        }
    }
    if (!present.has(AddedTable::Phrases)) {
        server.exec(QString::fromUtf8(kPhraseTable));
    }
}

QStringList additionProblems(Connection& server) {
    return problemsOfAdditions(columnTypes(server, memo::tableName()),
                               columnTypes(server, phrases::tableName()), ofType, typeName);
}

Additions ServerDatabase::present() {
    return additionsOf(connection());
}

Additions ServerDatabase::additions() {
    return reading([&] { return present(); });
}

std::vector<Phrase> ServerDatabase::phrases() {
    const Result r = reading([&] {
        return connection().exec(QStringLiteral(
            "SELECT \"ＮＯ\", \"文言\", \"順番\" FROM \"PHRASE_T\" ORDER BY \"順番\", \"ＮＯ\""));
    });
    std::vector<Phrase> found;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        found.push_back(
            {number(r, row, 0), optionalText(r, row, 1).value_or(QString()), number(r, row, 2)});
    }
    return found;
}

void ServerDatabase::insertPhrase(const QString& text, std::int64_t order) {
    connection().exec(
        QStringLiteral("INSERT INTO \"PHRASE_T\" (\"文言\", \"順番\") VALUES ($1, $2)"),
        {text, QString::number(order)});
}

void ServerDatabase::deletePhrase(std::int64_t no) {
    connection().exec(QStringLiteral("DELETE FROM \"PHRASE_T\" WHERE \"ＮＯ\" = $1"),
                      {QString::number(no)});
}

void ServerDatabase::setPhraseOrder(std::int64_t no, std::int64_t order) {
    connection().exec(QStringLiteral("UPDATE \"PHRASE_T\" SET \"順番\" = $1 WHERE \"ＮＯ\" = $2"),
                      {QString::number(order), QString::number(no)});
}

}  // namespace store::server
