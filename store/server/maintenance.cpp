#include "store/server/maintenance.h"

#include <libpq-fe.h>

#include <QSet>

#include "store/server/bulk.h"

namespace store::server::maintenance {
namespace {

// Only well-formed received times compare with a date; an empty or foreign text is never
// taken for an old one. Texts compare by character code, as in a data file.
constexpr const char* kReadBefore =
    "FROM \"MEMO_T\" WHERE \"既読\" IS NOT NULL AND \"受付日時\" COLLATE \"C\" < $1 "
    "AND \"受付日時\" ~ '^[0-9]{4}/[0-9]{2}/[0-9]{2}'";

std::int64_t number(const Result& r, int row = 0, int column = 0) {
    return QByteArray(PQgetvalue(r.get(), row, column)).toLongLong();
}

std::optional<QString> optionalText(const Result& r, int row, int column) {
    if (PQgetisnull(r.get(), row, column)) {
        return std::nullopt;
    }
    return QString::fromUtf8(PQgetvalue(r.get(), row, column), PQgetlength(r.get(), row, column));
}

// Every statement of fn in one read-only transaction that sees one picture of the table from
// its first statement to its last, while workstations go on writing.
template <class Fn>
auto inSnapshot(Connection& server, Fn fn) {
    return inTransaction(server, fn,
                         QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
}

// A number is taken when a message holds it now, or when the server handed it out before and
// that message was deleted since: a number is never given to a second message.
std::vector<std::size_t> takenNumbers(Connection& server,
                                      const std::vector<ImportMessage>& messages) {
    const std::int64_t handedOut = bulk::highestEverNumbered(server);
    QStringList kept;
    for (const ImportMessage& m : messages) {
        if (m.no && *m.no > handedOut) {
            kept << QString::number(*m.no);
        }
    }
    QSet<std::int64_t> held;
    if (!kept.isEmpty()) {
        const Result r = server.exec(
            QStringLiteral("SELECT \"ＮＯ\" FROM \"MEMO_T\" WHERE \"ＮＯ\" = ANY($1::bigint[])"),
            {u'{' + kept.join(u',') + u'}'});
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            held.insert(number(r, row));
        }
    }
    std::vector<std::size_t> taken;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].no && (*messages[i].no <= handedOut || held.contains(*messages[i].no))) {
            taken.push_back(i);
        }
    }
    return taken;
}

}  // namespace

Recordset allMessages(Connection& server) {
    return reading(server, [&] {
        return server.query(
            QStringLiteral("SELECT \"ＮＯ\", \"宛名\", \"相手\", \"受人\", \"メモ\", \"内外線\", "
                           "\"電話\", \"受付日時\", \"既読\" FROM \"MEMO_T\" ORDER BY \"ＮＯ\""));
    });
}

std::vector<std::size_t> numbersInUse(Connection& server,
                                      const std::vector<ImportMessage>& messages) {
    return reading(
        server, [&] { return inSnapshot(server, [&] { return takenNumbers(server, messages); }); });
}

store::maintenance::ImportOutcome addMessages(Connection& server,
                                              const std::vector<ImportMessage>& messages,
                                              const std::function<void(std::int64_t)>& progress) {
    return inTransaction(server, [&] {
        // Held from the check of the numbers to the last insert.
        bulk::lockAgainstWriters(server);
        store::maintenance::ImportOutcome outcome;
        outcome.numbersTaken = takenNumbers(server, messages);
        if (outcome.numbersTaken.empty()) {
            outcome.added = bulk::insertAll(server, messages, progress);
        }
        return outcome;
    });
}

std::int64_t countReadBefore(Connection& server, const QString& dateText) {
    return reading(server, [&] {
        return number(server.exec(
            QStringLiteral("SELECT count(*) ") + QString::fromUtf8(kReadBefore), {dateText}));
    });
}

std::int64_t removeReadBefore(Connection& server, const QString& dateText) {
    return inTransaction(server, [&] {
        const Result r =
            server.exec(QStringLiteral("DELETE ") + QString::fromUtf8(kReadBefore), {dateText});
        return QByteArray(PQcmdTuples(r.get())).toLongLong();
    });
}

store::maintenance::Summary summarize(Connection& server) {
    using Summary = store::maintenance::Summary;
    return reading(server, [&] {
        return inSnapshot(server, [&] {
            Summary s;
            s.messages = number(server.exec(QStringLiteral("SELECT count(*) FROM \"MEMO_T\"")));
            s.unread = number(server.exec(
                QStringLiteral("SELECT count(*) FROM \"MEMO_T\" WHERE \"既読\" IS NULL")));
            const Result per = server.exec(QStringLiteral(
                "SELECT \"宛名\", count(*) AS n FROM \"MEMO_T\" WHERE \"既読\" IS NULL "
                "GROUP BY \"宛名\" ORDER BY n DESC, \"宛名\" COLLATE \"C\" NULLS FIRST"));
            for (int row = 0; row < PQntuples(per.get()); ++row) {
                s.unreadByAddressee.emplace_back(optionalText(per, row, 0), number(per, row, 1));
            }
            const Result oldest = server.exec(QStringLiteral(
                "SELECT \"ＮＯ\", \"宛名\", \"受付日時\" FROM \"MEMO_T\" WHERE \"既読\" IS NULL "
                "ORDER BY \"受付日時\" COLLATE \"C\" NULLS LAST, \"ＮＯ\" LIMIT 1"));
            if (PQntuples(oldest.get()) > 0) {
                s.oldestUnread = Summary::Oldest{number(oldest), optionalText(oldest, 0, 1),
                                                 optionalText(oldest, 0, 2)};
            }
            return s;
        });
    });
}

}  // namespace store::server::maintenance
