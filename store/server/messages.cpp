// The message table's statements on a database server.
#include <libpq-fe.h>

#include <QChar>
#include <QStringList>
#include <string_view>

#include "store/like.h"
#include "store/repeated_texts.h"
#include "store/server/arrival_listener.h"
#include "store/server/listing.h"
#include "store/server/server_database.h"
#include "store/staff.h"

namespace store::server {
namespace {

// Whether every character the office's Like takes for c (its case-folded equals c's) has the
// same ASCII-lowered form as c, so that narrowing by c never drops a name the Like accepts.
// ASCII letters qualify except k and s (the Kelvin sign and the long s fold to them) and i
// (a dotted capital I); other characters only when nothing folds to them: caseless letters
// (kana, kanji), digits, punctuation and spaces.
bool narrowsSafely(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) {
        const char16_t lower = (u >= u'A' && u <= u'Z') ? char16_t(u + 0x20) : u;
        return lower != u'k' && lower != u's' && lower != u'i';
    }
    if (c.isSurrogate() || c.toCaseFolded() != c || c.toUpper() != c || c.toLower() != c) {
        return false;
    }
    switch (c.category()) {
        case QChar::Letter_Other:
        case QChar::Number_DecimalDigit:
        case QChar::Punctuation_Connector:
        case QChar::Punctuation_Dash:
        case QChar::Punctuation_Open:
        case QChar::Punctuation_Close:
        case QChar::Punctuation_InitialQuote:
        case QChar::Punctuation_FinalQuote:
        case QChar::Punctuation_Other:
        case QChar::Separator_Space:
            return true;
        default:
            return false;
    }
}

// The server-side narrowing for names beginning with name: a LIKE pattern over the column's
// ASCII-lowered text that every name the office's Like accepts also satisfies ("%" alone when
// no prefix can be narrowed safely).
QString narrowingPattern(const QString& name) {
    QString out;
    for (const QChar c : name) {
        if (!narrowsSafely(c)) {
            break;
        }
        const char16_t u = c.unicode();
        if (u == u'%' || u == u'_' || u == u'\\') {
            out += u'\\';
        }
        out += (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 0x20)) : c;
    }
    out += u'%';
    return out;
}

const QString kNameMatches = QStringLiteral("lower(%1 COLLATE \"C\") LIKE $1");

// Whether the narrowing of name is exactly the names beginning with it (every character of it
// narrows safely), so that the server may leave them out itself.
bool narrowsExactly(const QString& name) {
    for (const QChar c : name) {
        if (!narrowsSafely(c)) {
            return false;
        }
    }
    return true;
}

// " AND NOT (...)" leaving out, where the server can tell them exactly, the names beginning with
// the directory's longer names; their patterns are added to params. What the server cannot
// tell exactly is left out by the program (staff::NameMatch) as the rows are read.
QString exclusions(const QString& column, const NamePrefix& prefix, TextParams& params) {
    QStringList alternatives;
    for (const NamePrefix::Excluded& longer : prefix.excluded) {
        if (narrowsExactly(longer.name)) {
            params.push_back(narrowingPattern(longer.name));
            alternatives << QStringLiteral("lower(%1 COLLATE \"C\") LIKE $%2")
                                .arg(column)
                                .arg(params.size());
        }
    }
    return alternatives.isEmpty()
               ? QString()
               : QStringLiteral(" AND NOT (%1)").arg(alternatives.join(QStringLiteral(" OR ")));
}

QString quoted(const QString& column) {
    return u'"' + column + u'"';
}

// Numbers as a bigint array parameter.
QString numberArray(const std::vector<std::int64_t>& numbers) {
    QStringList texts;
    for (const std::int64_t no : numbers) {
        texts << QString::number(no);
    }
    return u'{' + texts.join(u',') + u'}';
}

// The column's distinct names in byte order, read by stepping through the column's index from
// one name to the next: one index probe per name instead of a read of every message, so the
// cost follows the number of names, not of messages (callers at 1,000,000 messages: 5-9 ms
// instead of about 190 ms). Nulls are left out.
const QString kDistinctNames = QStringLiteral(
    "WITH RECURSIVE names(v) AS ("
    "(SELECT %1 COLLATE \"C\" FROM \"MEMO_T\" WHERE %1 IS NOT NULL "
    "ORDER BY %1 COLLATE \"C\" LIMIT 1) "
    "UNION ALL SELECT (SELECT %1 COLLATE \"C\" FROM \"MEMO_T\" WHERE %1 COLLATE \"C\" > names.v "
    "ORDER BY %1 COLLATE \"C\" LIMIT 1) FROM names WHERE names.v IS NOT NULL) "
    "SELECT v AS %1 FROM names WHERE v IS NOT NULL");

// The rows of a result whose name in column holds a name beginning with prefix by the office's
// Like: each distinct name is matched once. maxRows > 0 stops after that many.
std::vector<int> matchingRows(const Result& result, int column, const NamePrefix& prefix,
                              int maxRows = 0) {
    const staff::NameMatch pattern(prefix);
    RepeatedTexts names;
    std::vector<int> rows;
    pg_result* const r = result.get();
    for (int row = 0; row < PQntuples(r) && (maxRows <= 0 || int(rows.size()) < maxRows); ++row) {
        if (PQgetisnull(r, row, column)) {
            continue;
        }
        const std::string_view bytes(PQgetvalue(r, row, column),
                                     size_t(PQgetlength(r, row, column)));
        if (names.accepted(
                bytes, [&] { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); },
                [&](const QString& name) { return pattern.accepts(name); })) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace

Listing ServerDatabase::matching(const QString& sql, const TextParams& params, NameColumn column,
                                 const NamePrefix& prefix) {
    const staff::NameMatch pattern(prefix);
    const int filter = int(column) + 1;
    return readListing(conn_.exec(sql, params), filter,
                       [&](const QString& value) { return pattern.accepts(value); });
}

QStringList ServerDatabase::distinctNames(NameColumn column) {
    const Result r = reading([&] {
        return connection().exec(forEachColumn(
            column, [](NameColumn c) { return kDistinctNames.arg(quoted(columnName(c))); }));
    });
    QStringList names;
    for (int row = 0; row < PQntuples(r.get()); ++row) {
        if (const std::optional<QString> name = optionalText(r, row, 0)) {
            names << *name;
        }
    }
    return names;
}

bool ServerDatabase::anyMessage() {
    return reading([&] {
        return PQntuples(
                   connection().exec(QStringLiteral("SELECT 1 FROM \"MEMO_T\" LIMIT 1")).get()) > 0;
    });
}

Listing ServerDatabase::listing(NameColumn column, const NamePrefix& prefix) {
    return reading([&] {
        TextParams params{narrowingPattern(prefix.name)};
        const QString sql = QStringLiteral("SELECT %1%3 FROM \"MEMO_T\" WHERE %2")
                                .arg(memoColumns(), kNameMatches.arg(quoted(columnName(column))),
                                     addedSelection(present())) +
                            exclusions(quoted(columnName(column)), prefix, params) +
                            QStringLiteral(" ORDER BY \"ＮＯ\" DESC");
        return matching(sql, params, column, prefix);
    });
}

bool ServerDatabase::anyUnread(const NamePrefix& addressee) {
    const QString& head = madeOnce([] {
        return QStringLiteral("SELECT \"宛名\" FROM \"MEMO_T\" WHERE %1 AND \"既読\" IS NULL")
            .arg(kNameMatches.arg(quoted(columnName(NameColumn::Addressee))));
    });
    TextParams params{narrowingPattern(addressee.name)};
    const QString sql =
        head + exclusions(quoted(columnName(NameColumn::Addressee)), addressee, params);
    const Result r = reading([&] { return connection().exec(sql, params); });
    return !matchingRows(r, 0, addressee, 1).empty();
}

Unread ServerDatabase::unread(const NamePrefix& addressee) {
    // Every unread candidate is read, since the office's Like decides here which are the
    // name's; unread messages are few.
    return reading([&] {
        TextParams params{narrowingPattern(addressee.name)};
        const QString sql =
            QStringLiteral(
                "SELECT \"宛名\", \"相手\", \"受付日時\", \"メモ\", %2 FROM \"MEMO_T\" "
                "WHERE %1 AND \"既読\" IS NULL")
                .arg(kNameMatches.arg(quoted(columnName(NameColumn::Addressee))),
                     present().has(memo::Added::Urgent)
                         ? quoted(memo::columnName(memo::Added::Urgent)) +
                               QStringLiteral(" IS NOT DISTINCT FROM 1")
                         : QStringLiteral("false")) +
            exclusions(quoted(columnName(NameColumn::Addressee)), addressee, params) +
            QStringLiteral(" ORDER BY \"ＮＯ\" DESC");
        const Result r = connection().exec(sql, params);
        const std::vector<int> rows = matchingRows(r, 0, addressee);
        Unread found;
        found.count = std::int64_t(rows.size());
        if (!rows.empty()) {
            found.caller = optionalText(r, rows.front(), 1).value_or(QString());
            found.receivedAt = optionalText(r, rows.front(), 2).value_or(QString());
            found.memo = optionalText(r, rows.front(), 3).value_or(QString());
        }
        for (const int row : rows) {
            found.urgent = found.urgent || optionalText(r, row, 4) == QStringLiteral("t");
        }
        return found;
    });
}

std::optional<MessageTexts> ServerDatabase::message(std::int64_t no) {
    const Result r = reading([&] {
        return connection().exec(
            madeOnce([] {
                return QStringLiteral("SELECT %1 FROM \"MEMO_T\" WHERE \"ＮＯ\" = $1 FOR UPDATE")
                    .arg(memoColumns());
            }),
            {QString::number(no)});
    });
    const std::vector<StoredMessage> found = readMessages(r);
    if (found.empty()) {
        return std::nullopt;
    }
    return found.front().texts;
}

std::int64_t ServerDatabase::markRead(const NamePrefix& addressee, std::int64_t upTo,
                                      const QString& dateText) {
    std::optional<Transaction> own;
    if (!kind_) {
        own.emplace(*this, Transaction::Kind::Write);
    }
    TextParams params{narrowingPattern(addressee.name), QString::number(upTo)};
    const QString sql =
        madeOnce([] {
            return QStringLiteral(
                       "SELECT \"ＮＯ\", \"宛名\" FROM \"MEMO_T\" WHERE %1 AND \"既読\" IS NULL "
                       "AND \"ＮＯ\" <= $2")
                .arg(kNameMatches.arg(quoted(columnName(NameColumn::Addressee))));
        }) +
        exclusions(quoted(columnName(NameColumn::Addressee)), addressee, params) +
        QStringLiteral(" FOR UPDATE");
    const Result candidates = conn_.exec(sql, params);
    std::vector<std::int64_t> numbers;
    for (const int row : matchingRows(candidates, 1, addressee)) {
        numbers.push_back(number(candidates, row, 0));
    }
    std::int64_t marked = 0;
    if (!numbers.empty()) {
        const Result r = conn_.exec(QStringLiteral("UPDATE \"MEMO_T\" SET \"既読\" = $1 "
                                                   "WHERE \"ＮＯ\" = ANY($2::bigint[])"),
                                    {dateText, numberArray(numbers)});
        marked = QByteArray(PQcmdTuples(r.get())).toLongLong();
    }
    if (own) {
        own->commit();
    }
    return marked;
}

void ServerDatabase::insertMessage(const MessageTexts& texts, const AddedTexts& added) {
    const Additions there = present();
    TextParams params(texts.begin(), texts.end());
    appendAddedParams(there, added, params);
    QStringList marks;
    for (std::size_t i = 1; i <= params.size(); ++i) {
        marks << QStringLiteral("$%1").arg(i);
    }
    // The insert and its notice are one statement, so one transaction: the listening
    // workstations hear of the message once it is kept, and of no message that was not. The
    // notice carries "=" and the addressee, or nothing for an addressee too long for it.
    connection().exec(
        QStringLiteral("WITH sent AS (INSERT INTO \"MEMO_T\" (%1%2) VALUES (%3) RETURNING "
                       "\"宛名\") SELECT pg_notify('%4', CASE WHEN octet_length(\"宛名\") < 7900 "
                       "THEN '=' || \"宛名\" ELSE '' END) FROM sent")
            .arg(memoColumns(1), addedInsertColumns(there), marks.join(u", "),
                 QLatin1String(kArrivalChannel)),
        params);
}

void ServerDatabase::setAdded(std::int64_t no, memo::Added column,
                              const std::optional<QString>& value) {
    connection().exec(QStringLiteral("UPDATE \"MEMO_T\" SET %1 = $1 WHERE \"ＮＯ\" = $2")
                          .arg(quoted(memo::columnName(column))),
                      {value, QString::number(no)});
}

void ServerDatabase::deleteMessage(std::int64_t no) {
    connection().exec(QStringLiteral("DELETE FROM \"MEMO_T\" WHERE \"ＮＯ\" = $1"),
                      {QString::number(no)});
}

}  // namespace store::server
