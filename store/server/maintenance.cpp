// The administrator's counts and purge on a database server, with the answers a data file gives.
#include <libpq-fe.h>

#include "store/server/listing.h"
#include "store/server/server_database.h"

namespace store::server {
namespace {

// Only well-formed received times compare with a date; an empty or foreign text is never
// taken for an old one. Texts compare by character code, as in a data file.
constexpr const char* kReadBefore =
    "FROM \"MEMO_T\" WHERE \"既読\" IS NOT NULL AND \"受付日時\" COLLATE \"C\" < $1 "
    "AND \"受付日時\" ~ '^[0-9]{4}/[0-9]{2}/[0-9]{2}'";

}  // namespace

std::int64_t ServerDatabase::countReadBefore(const QString& dateText) {
    return number(reading([&] {
        return connection().exec(
            QStringLiteral("SELECT count(*) ") + QString::fromUtf8(kReadBefore), {dateText});
    }));
}

std::int64_t ServerDatabase::removeReadBefore(const QString& dateText) {
    const Result r =
        connection().exec(QStringLiteral("DELETE ") + QString::fromUtf8(kReadBefore), {dateText});
    return QByteArray(PQcmdTuples(r.get())).toLongLong();
}

Summary ServerDatabase::summary() {
    return reading([&] {
        Connection& c = connection();
        Summary s;
        s.messages = number(c.exec(QStringLiteral("SELECT count(*) FROM \"MEMO_T\"")));
        s.unread = number(
            c.exec(QStringLiteral("SELECT count(*) FROM \"MEMO_T\" WHERE \"既読\" IS NULL")));
        const Result per = c.exec(QStringLiteral(
            "SELECT \"宛名\", count(*) AS n FROM \"MEMO_T\" WHERE \"既読\" IS NULL "
            "GROUP BY \"宛名\" ORDER BY n DESC, \"宛名\" COLLATE \"C\" NULLS FIRST"));
        for (int row = 0; row < PQntuples(per.get()); ++row) {
            s.unreadByAddressee.emplace_back(optionalText(per, row, 0), number(per, row, 1));
        }
        const Result oldest = c.exec(QStringLiteral(
            "SELECT \"ＮＯ\", \"宛名\", \"受付日時\" FROM \"MEMO_T\" WHERE \"既読\" IS NULL "
            "ORDER BY \"受付日時\" COLLATE \"C\" NULLS LAST, \"ＮＯ\" LIMIT 1"));
        if (PQntuples(oldest.get()) > 0) {
            s.oldestUnread = Summary::Oldest{number(oldest), optionalText(oldest, 0, 1),
                                             optionalText(oldest, 0, 2)};
        }
        return s;
    });
}

}  // namespace store::server
