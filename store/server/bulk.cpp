// Whole-table reads and writes of the messages on a database server, and its numbering.
#include <libpq-fe.h>

#include <QSet>
#include <QStringList>
#include <algorithm>

#include "store/server/listing.h"
#include "store/server/server_database.h"

namespace store::server {
namespace {

constexpr int kWidth = kTextColumns + 1 + int(memo::kAddedCount);
// Rows per Insert: few round trips, well under the server's limit on parameters (65,535).
constexpr std::size_t kRowsPerInsert = 500;

// The identity's sequence of ＮＯ.
constexpr const char* kSequence = "pg_get_serial_sequence('\"MEMO_T\"', 'ＮＯ')::regclass";

// One Insert of rows messages from first on, and its parameters: a kept number is sent, a
// missing one is the column's DEFAULT (the server's next number).
QString insertStatement(const std::vector<StoredMessage>& messages, std::size_t first,
                        std::size_t rows, const Additions& present, TextParams& params) {
    QString sql = QStringLiteral("INSERT INTO \"MEMO_T\" (%1%2) OVERRIDING SYSTEM VALUE VALUES ")
                      .arg(memoColumns(), addedInsertColumns(present));
    params.clear();
    params.reserve(rows * kWidth);
    auto placeholder = [&](std::optional<QString> value) {
        params.push_back(std::move(value));
        return QStringLiteral("$") + QString::number(params.size());
    };
    for (std::size_t i = first; i < first + rows; ++i) {
        const StoredMessage& m = messages[i];
        sql += i == first ? QStringLiteral("(") : QStringLiteral(", (");
        sql += m.no ? placeholder(QString::number(*m.no)) : QStringLiteral("DEFAULT");
        for (const std::optional<QString>& text : m.texts) {
            sql += QStringLiteral(", ") + placeholder(text);
        }
        TextParams added;
        appendAddedParams(present, m.added, added);
        for (std::optional<QString>& value : added) {
            sql += QStringLiteral(", ") + placeholder(std::move(value));
        }
        sql += u')';
    }
    return sql;
}

}  // namespace

std::vector<StoredMessage> ServerDatabase::everyMessage() {
    return readMessages(reading([&] {
        return connection().exec(QStringLiteral("SELECT %1%2 FROM \"MEMO_T\" ORDER BY \"ＮＯ\"")
                                     .arg(memoColumns(), addedSelection(present())));
    }));
}

std::int64_t ServerDatabase::highestEverNumbered() {
    // Null while the sequence never handed out a number.
    const QString sql = QStringLiteral("SELECT COALESCE(pg_sequence_last_value(%1), 0)")
                            .arg(QString::fromUtf8(kSequence));
    return number(reading([&] { return connection().exec(sql); }));
}

std::vector<std::int64_t> ServerDatabase::numbersHeld(const std::vector<std::int64_t>& among) {
    std::vector<std::int64_t> held;
    if (among.empty()) {
        return held;
    }
    QStringList texts;
    for (const std::int64_t no : among) {
        texts << QString::number(no);
    }
    const Result r = reading([&] {
        return connection().exec(
            QStringLiteral("SELECT \"ＮＯ\" FROM \"MEMO_T\" WHERE \"ＮＯ\" = ANY($1::bigint[])"),
            {u'{' + texts.join(u',') + u'}'});
    });
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        held.push_back(number(r, row));
    }
    return held;
}

void ServerDatabase::numberAfter(std::int64_t n) {
    connection().exec(
        QStringLiteral("SELECT setval(s, GREATEST($1::bigint, "
                       "COALESCE(pg_sequence_last_value(s), 0))) FROM (SELECT %1 AS s) t")
            .arg(QString::fromUtf8(kSequence)),
        {QString::number(n)});
}

std::int64_t ServerDatabase::addMessages(const std::vector<StoredMessage>& messages,
                                         const Progress& progress) {
    std::int64_t highestKept = 0;
    bool anyNew = false;
    for (const StoredMessage& m : messages) {
        highestKept = std::max(highestKept, m.no.value_or(0));
        anyNew = anyNew || !m.no;
    }
    // A kept number does not move the server's numbering on by itself: a message without a
    // number must not be given one kept by a message after it, nor a later one one kept here.
    if (anyNew && highestKept > 0) {
        numberAfter(highestKept);
    }
    std::int64_t added = 0;
    TextParams params;
    const Additions there = present();
    for (std::size_t first = 0; first < messages.size(); first += kRowsPerInsert) {
        const std::size_t rows = std::min(kRowsPerInsert, messages.size() - first);
        connection().exec(insertStatement(messages, first, rows, there, params), params);
        added += std::int64_t(rows);
        if (progress) {
            progress(added);
        }
    }
    if (highestKept > 0) {
        numberAfter(highestKept);
    }
    return added;
}

}  // namespace store::server
