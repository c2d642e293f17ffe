#include "store/server/bulk.h"

#include <libpq-fe.h>

#include <algorithm>

#include "store/error.h"
#include "store/location.h"

namespace store::server::bulk {
namespace {

constexpr const char* kColumns =
    "\"ＮＯ\", \"宛名\", \"相手\", \"受人\", \"メモ\", \"内外線\", \"電話\", \"受付日時\", "
    "\"既読\"";
constexpr int kWidth = maintenance::kTextColumns + 1;
// Rows per Insert: few round trips, well under the server's limit on parameters.
constexpr std::size_t kRowsPerInsert = 500;

// The identity's sequence of ＮＯ.
constexpr const char* kSequence = "pg_get_serial_sequence('\"MEMO_T\"', 'ＮＯ')::regclass";

// One Insert of rows messages from first on, and its parameters: a kept number is sent, a
// missing one is the column's DEFAULT (the server's next number).
QString insertStatement(const std::vector<maintenance::ImportMessage>& messages, std::size_t first,
                        std::size_t rows, TextParams& params) {
    QString sql = QStringLiteral("INSERT INTO \"MEMO_T\" (%1) OVERRIDING SYSTEM VALUE VALUES ")
                      .arg(QString::fromUtf8(kColumns));
    params.clear();
    params.reserve(rows * kWidth);
    auto placeholder = [&](std::optional<QString> value) {
        params.push_back(std::move(value));
        return QStringLiteral("$") + QString::number(params.size());
    };
    for (std::size_t i = first; i < first + rows; ++i) {
        const maintenance::ImportMessage& m = messages[i];
        sql += i == first ? QStringLiteral("(") : QStringLiteral(", (");
        sql += m.no ? placeholder(QString::number(*m.no)) : QStringLiteral("DEFAULT");
        for (const std::optional<QString>& text : m.texts) {
            sql += QStringLiteral(", ") + placeholder(text);
        }
        sql += u')';
    }
    return sql;
}

// Refuses a text holding a NUL character, which the server cannot hold, naming the message
// (by its number, or its place among the messages) and the column.
void refuseNul(const std::vector<maintenance::ImportMessage>& messages) {
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const maintenance::ImportMessage& m = messages[i];
        for (int c = 0; c < maintenance::kTextColumns; ++c) {
            const std::optional<QString>& text = m.texts[std::size_t(c)];
            if (text && text->contains(QChar(0))) {
                const QString which = m.no ? QStringLiteral("ＮＯ %1").arg(*m.no)
                                           : QStringLiteral("%1 件目").arg(i + 1);
                throw Error(Error::Kind::TextRefused,
                            QStringLiteral("%1 の %2 に NUL 文字（U+0000）があり、"
                                           "サーバーには入りません（何も変えていません）")
                                .arg(which, maintenance::messageColumns().at(c + 1)));
            }
        }
    }
}

// Moves the sequence to at least n, so that the next number handed out is above it.
void numberAfter(Connection& server, std::int64_t n) {
    server.exec(QStringLiteral("SELECT setval(s, GREATEST($1::bigint, "
                               "COALESCE(pg_sequence_last_value(s), 0))) FROM (SELECT %1 AS s) t")
                    .arg(QString::fromUtf8(kSequence)),
                {QString::number(n)});
}

}  // namespace

std::vector<maintenance::ImportMessage> allMessages(Connection& server) {
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

void lockAgainstWriters(Connection& server) {
    server.exec(QStringLiteral("LOCK TABLE \"MEMO_T\" IN SHARE ROW EXCLUSIVE MODE"));
}

std::int64_t highestEverNumbered(Connection& server) {
    // Null while the sequence never handed out a number.
    const Result r = server.exec(QStringLiteral("SELECT COALESCE(pg_sequence_last_value(%1), 0)")
                                     .arg(QString::fromUtf8(kSequence)));
    return QByteArray(PQgetvalue(r.get(), 0, 0)).toLongLong();
}

std::int64_t insertAll(Connection& server, const std::vector<maintenance::ImportMessage>& messages,
                       const std::function<void(std::int64_t)>& progress) {
    refuseNul(messages);
    std::int64_t highestKept = 0;
    bool anyNew = false;
    for (const maintenance::ImportMessage& m : messages) {
        highestKept = std::max(highestKept, m.no.value_or(0));
        anyNew = anyNew || !m.no;
    }
    // A message without a number must not be given one kept by a message after it.
    if (anyNew && highestKept > 0) {
        numberAfter(server, highestKept);
    }
    std::int64_t added = 0;
    TextParams params;
    for (std::size_t first = 0; first < messages.size(); first += kRowsPerInsert) {
        const std::size_t rows = std::min(kRowsPerInsert, messages.size() - first);
        server.exec(insertStatement(messages, first, rows, params), params);
        added += std::int64_t(rows);
        if (progress) {
            progress(added);
        }
    }
    if (highestKept > 0) {
        numberAfter(server, highestKept);
    }
    return added;
}

std::int64_t fillEmpty(Connection& server, const std::vector<maintenance::ImportMessage>& messages,
                       std::int64_t handedOut, const std::function<void(std::int64_t)>& progress) {
    return inTransaction(server, [&] {
        lockAgainstWriters(server);
        const Result any = server.exec(QStringLiteral("SELECT 1 FROM \"MEMO_T\" LIMIT 1"));
        if (PQntuples(any.get()) > 0) {
            throw Error(
                Error::Kind::Other,
                QStringLiteral("コピー先に既にメッセージがあります（何も変えていません）: %1")
                    .arg(maskedLocation(server.location())));
        }
        if (highestEverNumbered(server) > 0) {
            throw Error(Error::Kind::Other,
                        maintenance::numberedBeforeText(maskedLocation(server.location())));
        }
        const std::int64_t added = insertAll(server, messages, progress);
        if (handedOut > 0) {
            numberAfter(server, handedOut);
        }
        return added;
    });
}

}  // namespace store::server::bulk
