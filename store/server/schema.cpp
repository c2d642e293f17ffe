// Making, upgrading and checking the message table on a database server.
#include <libpq-fe.h>

#include "store/location.h"
#include "store/server/additions.h"
#include "store/server/server_database.h"
#include "store/tables.h"

namespace store::server {
namespace {

// MEMO_T from the column list: the key numbered by the server and never reused, every other
// column text.
QString memoTable() {
    QStringList columns;
    for (const Column& column : memo::kColumns) {
        columns << u'"' + column.text() + u'"' +
                       (column.key
                            ? QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY")
                            : QStringLiteral(" text"));
    }
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(memo::tableName(), columns.join(u", "));
}

struct Index {
    const char* name;
    const char* definition;
};
// The listings and the mark-as-read narrow by the ASCII-lowered name's prefix; the poll looks
// at unread rows only; the pick lists read the names in order.
constexpr Index kIndexes[] = {
    {"MEMO_T_宛名_前方", "(lower(\"宛名\" COLLATE \"C\"))"},
    {"MEMO_T_受人_前方", "(lower(\"受人\" COLLATE \"C\"))"},
    {"MEMO_T_既読", "(lower(\"宛名\" COLLATE \"C\")) WHERE \"既読\" IS NULL"},
    {"MEMO_T_宛名", "(\"宛名\" COLLATE \"C\")"},
    {"MEMO_T_相手", "(\"相手\" COLLATE \"C\")"},
    {"MEMO_T_受人", "(\"受人\" COLLATE \"C\")"},
};

// The lists are read by many workstations at once, each wanting one user's rows: one server
// process per list. Parallel workers are new processes that first map every shared page they
// read, which made a list slower, not faster (a 160,000-row list on a 2-core server: 540 ms
// with two workers, 290 ms without).
constexpr const char* kSerialScans = "ALTER TABLE \"MEMO_T\" SET (parallel_workers = 0)";

bool scansSerially(Connection& server) {
    const Result r =
        server.exec(QStringLiteral("SELECT 1 FROM pg_class WHERE oid = to_regclass('\"MEMO_T\"') "
                                   "AND 'parallel_workers=0' = ANY(reloptions)"));
    return PQntuples(r.get()) > 0;
}

QString createIndex(const Index& index) {
    return QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"MEMO_T\" %2")
        .arg(QString::fromUtf8(index.name), QString::fromUtf8(index.definition));
}

bool hasTable(Connection& server) {
    const Result r = server.exec(QStringLiteral("SELECT to_regclass('\"MEMO_T\"') IS NOT NULL"));
    return QByteArray(PQgetvalue(r.get(), 0, 0)) == "t";
}

int presentIndexes(Connection& server) {
    int present = 0;
    for (const Index& index : kIndexes) {
        const Result r = server.exec(
            // The table's own indexes: another schema's MEMO_T may have the same names.
            QStringLiteral("SELECT 1 FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                           "WHERE i.indrelid = '\"MEMO_T\"'::regclass AND c.relname = $1"),
            {QString::fromUtf8(index.name)});
        present += PQntuples(r.get()) > 0 ? 1 : 0;
    }
    return present;
}

}  // namespace

void ServerDatabase::createTable() {
    conn_.connect();
    Transaction transaction(*this, Transaction::Kind::Write);
    if (hasTable(conn_)) {
        throw Error(Error::Kind::Other,
                    QStringLiteral("MEMO_T が既にあります（上書きしません）: %1")
                        .arg(maskedLocation(path())));
    }
    conn_.exec(memoTable());
    conn_.exec(QString::fromUtf8(kSerialScans));
    for (const Index& index : kIndexes) {
        conn_.exec(createIndex(index));
    }
    addAdditions(conn_, Additions{});
    transaction.commit();
}

bool ServerDatabase::dataExists() {
    conn_.connect();
    return hasTable(conn_);
}

bool ServerDatabase::upgradeTable() {
    conn_.connect();
    if (!hasTable(conn_)) {
        throw Error(Error::Kind::NotADataFile,
                    QStringLiteral("MEMO_T がありません: %1").arg(maskedLocation(path())));
    }
    if (presentIndexes(conn_) == int(std::size(kIndexes)) && scansSerially(conn_) &&
        additionsOf(conn_).complete()) {
        return false;
    }
    Transaction transaction(*this, Transaction::Kind::Write);
    conn_.exec(QString::fromUtf8(kSerialScans));
    for (const Index& index : kIndexes) {
        conn_.exec(createIndex(index));
    }
    addAdditions(conn_, additionsOf(conn_));
    transaction.commit();
    return true;
}

QStringList ServerDatabase::checkTable() {
    QStringList problems;
    try {
        conn_.connect();
        if (!hasTable(conn_)) {
            return {QStringLiteral("MEMO_T がありません。")};
        }
        for (const QString& column : memo::requiredColumns()) {
            const Result r =
                // The columns of the table the program uses, not of another schema's MEMO_T.
                conn_.exec(QStringLiteral("SELECT 1 FROM pg_attribute WHERE attrelid = "
                                          "'\"MEMO_T\"'::regclass AND attname = $1 AND "
                                          "attnum > 0 AND NOT attisdropped"),
                           {column});
            if (PQntuples(r.get()) == 0) {
                problems << QStringLiteral("MEMO_T に列 %1 がありません。").arg(column);
            }
        }
        problems << additionProblems(conn_);
    } catch (const Error& e) {
        problems << e.report();
    }
    return problems;
}

}  // namespace store::server
