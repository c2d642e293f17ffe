#include "store/server/memo.h"

#include <libpq-fe.h>

#include <QChar>

#include "store/like.h"
#include "store/server/listing.h"
#include "store/utf8_text.h"

namespace store::server::memo {
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

const QString kNameMatches = QStringLiteral("lower(%1 COLLATE \"C\") LIKE $1");

// Rows of a Select whose column (by name) holds a name beginning with name by the office's Like.
// The name is taken as it would be stored, so that a name with half a character finds the names
// stored from it, as on a data file.
Recordset matching(Connection& server, const QString& sql, const TextParams& params,
                   const QString& column, const QString& name, std::int64_t maxRows = 0) {
    const QString pattern = prefixPattern(utf8::withoutLoneSurrogates(name));
    return readListing(
        server.exec(sql, params), column,
        [&](const QString& value) { return likeMatch(pattern, value).value_or(false); }, maxRows);
}

// The same as a read of its own, repeated once on a new connection when the old one was lost.
Recordset query(Connection& server, const QString& sql, const TextParams& params,
                const QString& column, const QString& name, std::int64_t maxRows = 0) {
    return reading(server, [&] { return matching(server, sql, params, column, name, maxRows); });
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

std::optional<QStringList> pickList(Connection& server, const QString& column) {
    Recordset rs = reading(server, [&] { return server.query(kDistinctNames.arg(column)); });
    // No name at all: an empty list when some message has a Null there, none for no message.
    if (rs.RecordCount() == 0 &&
        reading(server, [&] {
            return server.query(QStringLiteral("SELECT 1 FROM \"MEMO_T\" LIMIT 1"));
        }).RecordCount() == 0) {
        return std::nullopt;
    }
    QStringList names;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const Field& f = rs.field(0);
        if (!f.isNull()) {
            names << f.value();
        }
    }
    return names;
}

}  // namespace

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

store::memo::PickLists pickLists(Connection& server) {
    store::memo::PickLists lists;
    lists.addressees = pickList(server, QStringLiteral("\"宛名\""));
    lists.callers = pickList(server, QStringLiteral("\"相手\""));
    lists.takers = pickList(server, QStringLiteral("\"受人\""));
    return lists;
}

Recordset receivedList(Connection& server, const QString& name) {
    return query(server,
                 QStringLiteral("SELECT * FROM \"MEMO_T\" WHERE %1 ORDER BY \"ＮＯ\" DESC")
                     .arg(kNameMatches.arg(QStringLiteral("\"宛名\""))),
                 {narrowingPattern(name)}, QStringLiteral("宛名"), name);
}

Recordset sentList(Connection& server, const QString& name) {
    return query(server,
                 QStringLiteral("SELECT * FROM \"MEMO_T\" WHERE %1 ORDER BY \"ＮＯ\" DESC")
                     .arg(kNameMatches.arg(QStringLiteral("\"受人\""))),
                 {narrowingPattern(name)}, QStringLiteral("受人"), name);
}

std::int64_t markRead(Connection& server, const QString& name, const QString& today,
                      std::int64_t highestListed) {
    return inTransaction(server, [&]() -> std::int64_t {
        Recordset rs = matching(server,
                                QStringLiteral("SELECT \"ＮＯ\", \"宛名\" FROM \"MEMO_T\" WHERE %1 "
                                               "AND \"既読\" IS NULL AND \"ＮＯ\" <= $2 FOR UPDATE")
                                    .arg(kNameMatches.arg(QStringLiteral("\"宛名\""))),
                                {narrowingPattern(name), QString::number(highestListed)},
                                QStringLiteral("宛名"), name);
        if (rs.RecordCount() == 0) {
            return 0;
        }
        QStringList numbers;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            numbers << rs.field(0).value();
        }
        const Result r = server.exec(QStringLiteral("UPDATE \"MEMO_T\" SET \"既読\" = $1 "
                                                    "WHERE \"ＮＯ\" = ANY($2::bigint[])"),
                                     {today, u'{' + numbers.join(u',') + u'}'});
        return QByteArray(PQcmdTuples(r.get())).toLongLong();
    });
}

void insert(Connection& server, const store::memo::NewMessage& m) {
    server.exec(QStringLiteral("INSERT INTO \"MEMO_T\" (\"宛名\", \"相手\", \"受人\", \"メモ\", "
                               "\"内外線\", \"電話\", \"受付日時\") "
                               "VALUES ($1, $2, $3, $4, $5, $6, $7)"),
                {m.addressee, m.caller, m.taker, m.memo,
                 m.outsideLine ? QStringLiteral("外線") : QStringLiteral("内線"),
                 m.phone.isEmpty() ? QStringLiteral("-") : m.phone, m.receivedAt});
}

void remove(Connection& server, std::int64_t no) {
    server.exec(QStringLiteral("DELETE FROM \"MEMO_T\" WHERE \"ＮＯ\" = $1"),
                {QString::number(no)});
}

void removeIf(Connection& server, std::int64_t no,
              const std::function<bool(const Recordset&)>& shouldDelete) {
    const QString number = QString::number(no);
    inTransaction(server, [&] {
        const Recordset found =
            server.query(QStringLiteral("SELECT \"宛名\", \"相手\", \"受人\", \"メモ\", "
                                        "\"内外線\", \"電話\", \"受付日時\" FROM \"MEMO_T\" "
                                        "WHERE \"ＮＯ\" = $1 FOR UPDATE"),
                         {number});
        if (shouldDelete(found)) {
            server.exec(QStringLiteral("DELETE FROM \"MEMO_T\" WHERE \"ＮＯ\" = $1"), {number});
        }
    });
}

bool hasUnread(Connection& server, const QString& name) {
    return query(server,
                 QStringLiteral("SELECT \"宛名\" FROM \"MEMO_T\" WHERE %1 AND \"既読\" IS NULL")
                     .arg(kNameMatches.arg(QStringLiteral("\"宛名\""))),
                 {narrowingPattern(name)}, QStringLiteral("宛名"), name, 1)
               .RecordCount() != 0;
}

}  // namespace store::server::memo
