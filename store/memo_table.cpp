#include "store/memo_table.h"

#include "store/like.h"
#include "store/server/memo.h"

namespace store::memo {

namespace {

// One pick list: column's values as sql reads them; nullopt when the statement gave no row.
std::optional<QStringList> pickList(Database& db, const QString& sql, const QString& column) {
    Recordset rs = db.openRecordset(sql);
    if (rs.RecordCount() == 0) {
        return std::nullopt;
    }
    const int index = rs.columnIndex(column);
    QStringList names;
    names.reserve(qsizetype(rs.RecordCount()));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const Field& f = index >= 0 ? rs.field(index) : rs.Fields(column);
        if (!f.isNull()) {
            names << f.value();
        }
    }
    return names;
}

}  // namespace

PickLists pickLists(Database& db) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::pickLists(*server);
    }
    PickLists lists;
    lists.addressees =
        pickList(db, QStringLiteral("Select Distinct(宛名) From MEMO_T"), QStringLiteral("宛名"));
    lists.callers =
        pickList(db, QStringLiteral("Select Distinct(相手) From MEMO_T"), QStringLiteral("相手"));
    lists.takers =
        pickList(db, QStringLiteral("Select Distinct(受人) From MEMO_T"), QStringLiteral("受人"));
    return lists;
}

Recordset receivedList(Database& db, const QString& name) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::receivedList(*server, name);
    }
    return db.openRecordset(
        QStringLiteral("Select * From MEMO_T Where 宛名 Like ? Order By ＮＯ Desc"),
        {prefixPattern(name)});
}

std::int64_t highestNumber(Recordset& listed) {
    // Both listings come newest first (Order By ＮＯ Desc): the first row has the highest.
    listed.MoveFirst();
    if (listed.Eof()) {
        return 0;
    }
    return listed.Fields(QStringLiteral("ＮＯ")).value().toLongLong();
}

std::int64_t markRead(Database& db, const QString& name, const QString& today,
                      std::int64_t highestListed) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::markRead(*server, name, today, highestListed);
    }
    return db.execute(QStringLiteral("Update MEMO_T set 既読 = ? Where 宛名 Like ? And 既読 is "
                                     "null And ＮＯ <= ?"),
                      {today, prefixPattern(name), highestListed});
}

Recordset sentList(Database& db, const QString& name) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::sentList(*server, name);
    }
    return db.openRecordset(
        QStringLiteral("Select * From MEMO_T Where 受人 Like ? Order By ＮＯ Desc"),
        {prefixPattern(name)});
}

void insert(Database& db, const NewMessage& m) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::insert(*server, m);
    }
    db.execute(QStringLiteral("Insert into memo_t (宛名,相手,受人,メモ,内外線,電話,受付日時) "
                              "Values (?,?,?,?,?,?,?)"),
               {m.addressee, m.caller, m.taker, m.memo,
                m.outsideLine ? QStringLiteral("外線") : QStringLiteral("内線"),
                m.phone.isEmpty() ? QStringLiteral("-") : m.phone, m.receivedAt});
}

void remove(Database& db, std::int64_t no) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::remove(*server, no);
    }
    db.execute(QStringLiteral("Delete from MEMO_T Where ＮＯ = ?"), {no});
}

bool hasUnread(Database& db, const QString& name) {
    if (store::server::Connection* server = db.server()) {
        return store::server::memo::hasUnread(*server, name);
    }
    return db.openRecordset(
                 QStringLiteral("Select * From MEMO_T Where 宛名 Like ? And 既読 is Null"),
                 {prefixPattern(name)}, 1)
               .RecordCount() != 0;
}

QStringList requiredColumns() {
    return {QStringLiteral("ＮＯ"), QStringLiteral("宛名"),     QStringLiteral("相手"),
            QStringLiteral("受人"), QStringLiteral("メモ"),     QStringLiteral("内外線"),
            QStringLiteral("電話"), QStringLiteral("受付日時"), QStringLiteral("既読")};
}

QString tableName() {
    return QStringLiteral("MEMO_T");
}

}  // namespace store::memo
