#include "store/phrases.h"

#include "store/memo_table.h"

namespace store::phrases {
namespace {

Error refused(const QString& why) {
    return Error(Error::Kind::Other, why);
}

// The phrase at place (from 1) among phrases.
const Phrase& at(const std::vector<Phrase>& phrases, int place) {
    if (place < 1 || place > int(phrases.size())) {
        throw refused(QStringLiteral("%1 番目の定型文はありません（%2 件）。")
                          .arg(place)
                          .arg(phrases.size()));
    }
    return phrases[std::size_t(place - 1)];
}

// Gives the phrases the orders 1, 2, ... as they stand in phrases.
void renumber(Database& db, const std::vector<Phrase>& phrases) {
    std::int64_t order = 0;
    for (const Phrase& p : phrases) {
        if (p.order != ++order) {
            db.setPhraseOrder(p.no, order);
        }
    }
}

}  // namespace

QStringList defaults() {
    return {QStringLiteral("折り返しお電話ください。"), QStringLiteral("また電話します。"),
            QStringLiteral("お電話がありました。"), QStringLiteral("伝言があります。"),
            QStringLiteral("ご来訪がありました。")};
}

QStringList offered(Database& db) {
    if (!db.additions().has(AddedTable::Phrases)) {
        return defaults();
    }
    QStringList texts;
    for (const Phrase& p : db.phrases()) {
        if (!p.text.isEmpty()) {
            texts << p.text.left(kMaxLength);
        }
    }
    return texts;
}

std::vector<Phrase> list(Database& db) {
    return db.phrases();
}

void add(Database& db, const QString& text) {
    if (text.trimmed().isEmpty()) {
        throw refused(QStringLiteral("定型文が空です。"));
    }
    if (text.size() > kMaxLength) {
        throw refused(
            QStringLiteral("定型文が %1 文字あります。メモ欄には %2 文字までしか入りません。")
                .arg(text.size())
                .arg(kMaxLength));
    }
    const QString stored = memo::storable(db, text);
    Transaction transaction(db, Transaction::Kind::Write);
    const std::vector<Phrase> phrases = db.phrases();
    renumber(db, phrases);
    db.insertPhrase(stored, std::int64_t(phrases.size()) + 1);
    transaction.commit();
}

QString remove(Database& db, int place) {
    Transaction transaction(db, Transaction::Kind::Write);
    std::vector<Phrase> phrases = db.phrases();
    const Phrase gone = at(phrases, place);
    db.deletePhrase(gone.no);
    phrases.erase(phrases.begin() + (place - 1));
    renumber(db, phrases);
    transaction.commit();
    return gone.text;
}

void move(Database& db, int place, int to) {
    Transaction transaction(db, Transaction::Kind::Write);
    std::vector<Phrase> phrases = db.phrases();
    const Phrase moving = at(phrases, place);
    at(phrases, to);
    phrases.erase(phrases.begin() + (place - 1));
    phrases.insert(phrases.begin() + (to - 1), moving);
    renumber(db, phrases);
    transaction.commit();
}

void fillWhenEmpty(Database& db) {
    Transaction transaction(db, Transaction::Kind::Write);
    if (db.phrases().empty()) {
        std::int64_t order = 0;
        for (const QString& text : defaults()) {
            db.insertPhrase(text, ++order);
        }
    }
    transaction.commit();
}

}  // namespace store::phrases
