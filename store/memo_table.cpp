#include "store/memo_table.h"

#include "store/like.h"
#include "store/utf8_text.h"

namespace store::memo {
namespace {

// One pick list: nullopt when the table holds no message.
std::optional<QStringList> pickList(Database& db, NameColumn column) {
    QStringList names = db.distinctNames(column);
    if (names.isEmpty() && !db.anyMessage()) {
        return std::nullopt;
    }
    return names;
}

AddedTexts urgentValue(bool urgent) {
    AddedTexts added{};
    if (urgent) {
        added[std::size_t(Added::Urgent)] = urgentText();
    }
    return added;
}

}  // namespace

QString storable(const Database& db, const QString& text) {
    if (!db.capabilities().textsWithNul && text.contains(QChar(0))) {
        throw Error(
            Error::Kind::TextRefused,
            QStringLiteral("サーバーには NUL 文字（U+0000）を含む文字列を保存できません。"));
    }
    return utf8::withoutLoneSurrogates(text);
}

NamePrefix namesBeginningWith(const Database& db, const QString& name) {
    // The name is taken as it would be stored, so that a name with half a character finds the
    // names stored from it.
    const QString stored = storable(db, name);
    return {stored, prefixPattern(stored)};
}

PickLists pickLists(Database& db) {
    PickLists lists;
    lists.addressees = pickList(db, NameColumn::Addressee);
    lists.callers = pickList(db, NameColumn::Caller);
    lists.takers = pickList(db, NameColumn::Taker);
    return lists;
}

Listing receivedList(Database& db, const QString& name) {
    return db.listing(NameColumn::Addressee, namesBeginningWith(db, name));
}

Listing sentList(Database& db, const QString& name) {
    return db.listing(NameColumn::Taker, namesBeginningWith(db, name));
}

std::int64_t highestNumber(const Listing& listed) {
    // Both listings come newest first: the first row has the highest.
    return listed.empty() ? 0 : listed[0].no.value_or(0);
}

std::int64_t markRead(Database& db, const QString& name, const QString& today,
                      std::int64_t highestListed) {
    return db.markRead(namesBeginningWith(db, name), highestListed, storable(db, today));
}

void insert(Database& db, const NewMessage& m) {
    db.insertMessage(
        {storable(db, m.addressee), storable(db, m.caller), storable(db, m.taker),
         storable(db, m.memo), m.outsideLine ? QStringLiteral("外線") : QStringLiteral("内線"),
         m.phone.isEmpty() ? QStringLiteral("-") : storable(db, m.phone),
         storable(db, m.receivedAt), std::nullopt},
        urgentValue(m.urgent));
}

void remove(Database& db, std::int64_t no) {
    db.deleteMessage(no);
}

bool hasUnread(Database& db, const QString& name) {
    return db.anyUnread(namesBeginningWith(db, name));
}

}  // namespace store::memo
