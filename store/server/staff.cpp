// The staff directory, the relay's table and MEMO_T's added columns on a database server.
#include <libpq-fe.h>

#include "store/server/listing.h"
#include "store/server/server_database.h"

namespace store::server {
namespace {

const QString kStaffColumns =
    QStringLiteral("\"名前\", \"よみ\", \"内線番号\", \"所属\", \"メール\", \"転送\"");

TextParams staffParams(const StaffMember& m) {
    return {m.name,      m.reading,
            m.extension, m.section,
            m.mail,      m.forward ? std::optional<QString>(QStringLiteral("1")) : std::nullopt};
}

void refuseWithoutDirectory(Connection& server) {
    if (!hasTableNamed(server, staff::tableName())) {
        throw Error(Error::Kind::Other,
                    QStringLiteral("データに名簿（STAFF_T）がありません。upgrade で作れます。"));
    }
}

}  // namespace

std::vector<StaffMember> ServerDatabase::staffMembers() {
    const std::optional<Result> r = reading([&]() -> std::optional<Result> {
        Connection& c = connection();
        if (!hasTableNamed(c, staff::tableName())) {
            return std::nullopt;
        }
        return c.exec(QStringLiteral("SELECT %1 FROM \"STAFF_T\"").arg(kStaffColumns));
    });
    std::vector<StaffMember> members;
    if (!r) {
        return members;
    }
    for (int row = 0; row < PQntuples(r->get()); ++row) {
        StaffMember& m = members.emplace_back();
        m.name = optionalText(*r, row, 0).value_or(QString());
        m.reading = optionalText(*r, row, 1);
        m.extension = optionalText(*r, row, 2);
        m.section = optionalText(*r, row, 3);
        m.mail = optionalText(*r, row, 4);
        m.forward = optionalText(*r, row, 5) == QStringLiteral("1");
    }
    return members;
}

void ServerDatabase::insertStaffMember(const StaffMember& member) {
    Connection& c = connection();
    refuseWithoutDirectory(c);
    c.exec(QStringLiteral("INSERT INTO \"STAFF_T\" (%1) VALUES ($1, $2, $3, $4, $5, $6::integer)")
               .arg(kStaffColumns),
           staffParams(member));
}

bool ServerDatabase::updateStaffMember(const QString& name, const StaffMember& member) {
    Connection& c = connection();
    refuseWithoutDirectory(c);
    TextParams params = staffParams(member);
    params.push_back(name);
    const Result r =
        c.exec(QStringLiteral(
                   "UPDATE \"STAFF_T\" SET \"名前\" = $1, \"よみ\" = $2, \"内線番号\" = $3, "
                   "\"所属\" = $4, \"メール\" = $5, \"転送\" = $6::integer WHERE \"名前\" = $7"),
               params);
    return QByteArray(PQcmdTuples(r.get())).toLongLong() > 0;
}

bool ServerDatabase::deleteStaffMember(const QString& name) {
    Connection& c = connection();
    refuseWithoutDirectory(c);
    const Result r = c.exec(QStringLiteral("DELETE FROM \"STAFF_T\" WHERE \"名前\" = $1"), {name});
    return QByteArray(PQcmdTuples(r.get())).toLongLong() > 0;
}

bool ServerDatabase::hasColumn(const QString& column) {
    return reading([&] { return hasMemoColumn(connection(), column); });
}

std::optional<ForwardMark> ServerDatabase::forwardMark() {
    return reading([&]() -> std::optional<ForwardMark> {
        Connection& c = connection();
        if (!hasTableNamed(c, relay::tableName())) {
            return std::nullopt;
        }
        const Result r =
            c.exec(QStringLiteral("SELECT \"確認済ＮＯ\", \"試行ＮＯ\", \"試行回数\" FROM "
                                  "\"FORWARD_T\" WHERE \"ＮＯ\" = 1"));
        if (PQntuples(r.get()) == 0) {
            return std::nullopt;
        }
        return ForwardMark{number(r, 0, 0), number(r, 0, 1), number(r, 0, 2)};
    });
}

void ServerDatabase::setForwardMark(const ForwardMark& mark) {
    std::optional<Transaction> own;
    if (!kind_) {
        own.emplace(*this, Transaction::Kind::Write);
    }
    addLaterParts(conn_);
    conn_.exec(QStringLiteral("INSERT INTO \"FORWARD_T\" (\"ＮＯ\", \"確認済ＮＯ\", \"試行ＮＯ\", "
                              "\"試行回数\") VALUES (1, $1::integer, $2::integer, $3::integer) "
                              "ON CONFLICT (\"ＮＯ\") DO UPDATE SET \"確認済ＮＯ\" = "
                              "EXCLUDED.\"確認済ＮＯ\", \"試行ＮＯ\" = EXCLUDED.\"試行ＮＯ\", "
                              "\"試行回数\" = EXCLUDED.\"試行回数\""),
               {QString::number(mark.examined), QString::number(mark.trying),
                QString::number(mark.attempts)});
    if (own) {
        own->commit();
    }
}

std::vector<ForwardCandidate> ServerDatabase::messagesAbove(std::int64_t no, int limit) {
    const Result r = reading([&] {
        Connection& c = connection();
        const QString forwarded = hasMemoColumn(c, QString::fromUtf16(memo::kForwardedAt))
                                      ? QStringLiteral("\"転送日時\" IS NOT NULL")
                                      : QStringLiteral("false");
        const QString urgent = hasMemoColumn(c, QStringLiteral("至急"))
                                   ? QStringLiteral("coalesce(\"至急\"::text = '1', false)")
                                   : QStringLiteral("false");
        return c.exec(QStringLiteral("SELECT %1, %2, %3 FROM \"MEMO_T\" WHERE \"ＮＯ\" > "
                                     "$1::bigint ORDER BY \"ＮＯ\" LIMIT $2::integer")
                          .arg(memoColumns(), forwarded, urgent),
                      {QString::number(no), QString::number(limit)});
    });
    const std::vector<StoredMessage> messages = readMessages(r);
    std::vector<ForwardCandidate> found;
    for (int row = 0; row < int(messages.size()); ++row) {
        ForwardCandidate& c = found.emplace_back();
        c.no = messages[std::size_t(row)].no.value_or(0);
        c.texts = messages[std::size_t(row)].texts;
        c.forwarded = QByteArray(PQgetvalue(r.get(), row, int(memo::kColumns.size()))) == "t";
        c.urgent = QByteArray(PQgetvalue(r.get(), row, int(memo::kColumns.size()) + 1)) == "t";
    }
    return found;
}

void ServerDatabase::setForwardedAt(std::int64_t no, const QString& when) {
    std::optional<Transaction> own;
    if (!kind_) {
        own.emplace(*this, Transaction::Kind::Write);
    }
    addLaterParts(conn_);
    conn_.exec(
        QStringLiteral("UPDATE \"MEMO_T\" SET \"転送日時\" = $1 WHERE \"ＮＯ\" = $2::bigint"),
        {when, QString::number(no)});
    if (own) {
        own->commit();
    }
}

}  // namespace store::server
