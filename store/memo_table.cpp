#include "store/memo_table.h"

#include "store/like.h"
#include "store/staff.h"
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

// The names a user looks for: the prefix rule, the directory's longer names left to their own.
NamePrefix recipients(Database& db, const QString& name) {
    return staff::addressedTo(db, name, staff::names(staff::directory(db)));
}

// The directory's names first, in its order, then the names of earlier messages not in it.
std::optional<QStringList> directoryFirst(const QStringList& directory,
                                          std::optional<QStringList> earlier) {
    if (directory.isEmpty()) {
        return earlier;
    }
    QStringList names = directory;
    if (earlier) {
        for (const QString& name : *earlier) {
            if (!directory.contains(name)) {
                names << name;
            }
        }
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
    return {stored, prefixPattern(stored), {}};
}

PickLists pickLists(Database& db) {
    PickLists lists;
    const QStringList directory = staff::names(staff::directory(db));
    lists.addressees = directoryFirst(directory, pickList(db, NameColumn::Addressee));
    lists.callers = pickList(db, NameColumn::Caller);
    lists.takers = directoryFirst(directory, pickList(db, NameColumn::Taker));
    return lists;
}

Listing receivedList(Database& db, const QString& name) {
    return db.listing(NameColumn::Addressee, recipients(db, name));
}

Listing sentList(Database& db, const QString& name) {
    return db.listing(NameColumn::Taker, recipients(db, name));
}

std::int64_t highestNumber(const Listing& listed) {
    // Both listings come newest first: the first row has the highest.
    return listed.empty() ? 0 : listed[0].no.value_or(0);
}

std::int64_t markRead(Database& db, const QString& name, const QString& today,
                      std::int64_t highestListed) {
    return db.markRead(recipients(db, name), highestListed, storable(db, today));
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
    return db.anyUnread(recipients(db, name));
}

Unread unread(Database& db, const QString& name) {
    return db.unread(recipients(db, name));
}

bool wouldList(const Database& db, const QString& name, const QString& addressee) {
    // The prefix alone, without the staff directory's longer names: it answers on the window's
    // thread without a read, and a message it takes for the user's that the directory gives to
    // a colleague costs only a check that finds nothing for the user. A pattern made by
    // prefixPattern is never malformed; were it so, the message might be the user's.
    return likeMatch(namesBeginningWith(db, name).pattern, addressee).value_or(true);
}

}  // namespace store::memo
