#include "store/pg/bulk.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include "store/error.h"
#include "store/location.h"

namespace store::pg::bulk {
namespace {

constexpr const char* kColumns =
    "\"ＮＯ\", \"宛名\", \"相手\", \"受人\", \"メモ\", \"内外線\", \"電話\", \"受付日時\", "
    "\"既読\"";
constexpr int kWidth = maintenance::kTextColumns + 1;
// Rows per Insert: few round trips, well under the server's limit on parameters.
constexpr std::size_t kRowsPerInsert = 500;

QString insertStatement(std::size_t rows) {
    QString sql = QStringLiteral("INSERT INTO \"MEMO_T\" (%1) OVERRIDING SYSTEM VALUE VALUES ")
                      .arg(QString::fromUtf8(kColumns));
    for (std::size_t r = 0; r < rows; ++r) {
        sql += r == 0 ? QStringLiteral("(") : QStringLiteral(", (");
        for (int c = 0; c < kWidth; ++c) {
            sql += (c == 0 ? QStringLiteral("$") : QStringLiteral(", $")) +
                   QString::number(r * kWidth + std::size_t(c) + 1);
        }
        sql += u')';
    }
    return sql;
}

}  // namespace

std::vector<maintenance::ImportMessage> allMessages(Server& server) {
    const QString sql = QStringLiteral("SELECT %1 FROM \"MEMO_T\" ORDER BY \"ＮＯ\"")
                            .arg(QString::fromUtf8(kColumns));
    const Result r = reading(server, [&] { return server.exec(sql); });
    const int rows = PQntuples(r.get());
    std::vector<maintenance::ImportMessage> messages(std::size_t(std::max(rows, 0)));
    for (int row = 0; row < rows; ++row) {
        maintenance::ImportMessage& m = messages[std::size_t(row)];
        m.no = QByteArray(PQgetvalue(r.get(), row, 0)).toLongLong();
        for (int c = 0; c < maintenance::kTextColumns; ++c) {
            if (!PQgetisnull(r.get(), row, c + 1)) {
                m.texts[std::size_t(c)] = QString::fromUtf8(PQgetvalue(r.get(), row, c + 1),
                                                            PQgetlength(r.get(), row, c + 1));
            }
        }
    }
    return messages;
}

std::int64_t fillEmpty(Server& server, const std::vector<maintenance::ImportMessage>& messages,
                       const std::function<void(std::int64_t)>& progress) {
    return inTransaction(server, [&] {
        // Workstations may read meanwhile; none adds a message until the copy is committed.
        server.exec(QStringLiteral("LOCK TABLE \"MEMO_T\" IN SHARE ROW EXCLUSIVE MODE"));
        const Result any = server.exec(QStringLiteral("SELECT 1 FROM \"MEMO_T\" LIMIT 1"));
        if (PQntuples(any.get()) > 0) {
            throw Error(
                SQLITE_CONSTRAINT,
                QStringLiteral("コピー先に既にメッセージがあります（何も変えていません）: %1")
                    .arg(maskedLocation(server.location())));
        }
        std::int64_t added = 0;
        for (std::size_t first = 0; first < messages.size(); first += kRowsPerInsert) {
            const std::size_t rows = std::min(kRowsPerInsert, messages.size() - first);
            TextParams params;
            params.reserve(rows * kWidth);
            for (std::size_t i = first; i < first + rows; ++i) {
                const maintenance::ImportMessage& m = messages[i];
                params.emplace_back(m.no ? std::optional<QString>(QString::number(*m.no))
                                         : std::nullopt);
                for (int c = 0; c < maintenance::kTextColumns; ++c) {
                    const std::optional<QString>& text = m.texts[std::size_t(c)];
                    if (text && text->contains(QChar(0))) {
                        throw Error(SQLITE_CONSTRAINT,
                                    QStringLiteral("ＮＯ %1 の %2 に NUL 文字（U+0000）があり、"
                                                   "サーバーには入りません（何も変えていません）")
                                        .arg(m.no.value_or(0))
                                        .arg(maintenance::messageColumns().at(c + 1)));
                    }
                    params.push_back(text);
                }
            }
            server.exec(insertStatement(rows), params);
            added += std::int64_t(rows);
            if (progress) {
                progress(added);
            }
        }
        // The next number the server hands out follows the highest one it holds or handed out.
        server.exec(QStringLiteral(
            "SELECT setval(s, GREATEST(m, COALESCE(pg_sequence_last_value(s), 0))) "
            "FROM (SELECT pg_get_serial_sequence('\"MEMO_T\"', 'ＮＯ')::regclass AS s, "
            "(SELECT max(\"ＮＯ\") FROM \"MEMO_T\") AS m) AS t WHERE m IS NOT NULL"));
        return added;
    });
}

}  // namespace store::pg::bulk
