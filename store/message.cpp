#include "store/message.h"

namespace store {
namespace {

// 64-bit FNV-1a over UTF-16 code units. Every field starts with its length (a Null with a
// length no text has), so that no two different sequences of fields run together alike.
class Fingerprint {
public:
    void add(const QString* text) {
        if (text == nullptr) {
            mix(~std::uint64_t(0));
            return;
        }
        mix(std::uint64_t(text->size()));
        for (const QChar c : *text) {
            mix(c.unicode());
        }
    }
    // The state's bits spread over the whole result (the last step of splitmix64).
    Identity value() const {
        std::uint64_t z = hash_;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    void mix(std::uint64_t unit) {
        hash_ ^= unit;
        hash_ *= 0x100000001b3ULL;
    }
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

const QString* orNull(const QString& text) {
    return text.isNull() ? nullptr : &text;
}

}  // namespace

QString columnName(NameColumn column) {
    switch (column) {
        case NameColumn::Addressee:
            return memo::kColumns[1].text();
        case NameColumn::Caller:
            return memo::kColumns[2].text();
        case NameColumn::Taker:
            break;
    }
    return memo::kColumns[3].text();
}

Identity identityOf(const MessageTexts& texts) {
    Fingerprint fingerprint;
    for (int c = 0; c < 7; ++c) {
        const std::optional<QString>& text = texts[std::size_t(c)];
        fingerprint.add(text ? &*text : nullptr);
    }
    return fingerprint.value();
}

Identity identityOf(const ListedRow& row) {
    Fingerprint fingerprint;
    for (const QString* text : {&row.addressee, &row.caller, &row.taker, &row.memo, &row.line,
                                &row.phone, &row.receivedAt}) {
        fingerprint.add(orNull(*text));
    }
    return fingerprint.value();
}

}  // namespace store
