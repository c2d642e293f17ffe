#include "store/message.h"

#include <algorithm>
#include <cstring>

namespace store {
namespace {

// 64-bit FNV-1a over whole words.
class Fnv {
public:
    void mix(std::uint64_t unit) {
        hash_ ^= unit;
        hash_ *= 0x100000001b3ULL;
    }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// Spreads the bits of a hash over the whole result (the last step of splitmix64).
std::uint64_t spread(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

const QString* orNull(const QString& text) {
    return text.isNull() ? nullptr : &text;
}

}  // namespace

bool Additions::complete() const {
    return std::all_of(columns.begin(), columns.end(), [](bool b) { return b; }) &&
           std::all_of(tables.begin(), tables.end(), [](bool b) { return b; });
}

QString urgentText() {
    return QStringLiteral("1");
}

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

std::uint64_t keptTextHash(const QString* text) {
    // A Null is told apart from every text by a value of its own; a text's length is mixed in
    // first, so that no two different sequences of texts run together alike. The text's UTF-16
    // code units are taken eight bytes at a time.
    constexpr std::uint64_t kMultiplier = 0x9fb21c651e98df25ULL;
    if (text == nullptr) {
        return 0x9e3779b97f4a7c15ULL;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text->constData());
    std::size_t left = std::size_t(text->size()) * sizeof(QChar);
    std::uint64_t hash = 0xcbf29ce484222325ULL ^ (std::uint64_t(left) * kMultiplier);
    const auto mix = [&](std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 29;
    };
    for (; left >= 8; left -= 8, p += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, 8);
        mix(word);
    }
    if (left > 0) {
        std::uint64_t word = 0;
        std::memcpy(&word, p, left);
        mix(word);
    }
    return hash;
}

Identity identityOf(const std::array<std::uint64_t, kKeptTexts>& keptTextHashes) {
    Fnv fnv;
    for (const std::uint64_t hash : keptTextHashes) {
        fnv.mix(hash);
    }
    return spread(fnv.value());
}

Identity identityOf(const MessageTexts& texts) {
    std::array<std::uint64_t, kKeptTexts> hashes{};
    for (int c = 0; c < kKeptTexts; ++c) {
        const std::optional<QString>& text = texts[std::size_t(c)];
        hashes[std::size_t(c)] = keptTextHash(text ? &*text : nullptr);
    }
    return identityOf(hashes);
}

Identity identityOf(const ListedRow& row) {
    const QString* const texts[kKeptTexts] = {
        &row.addressee, &row.caller, &row.taker, &row.memo, &row.line, &row.phone, &row.receivedAt};
    std::array<std::uint64_t, kKeptTexts> hashes{};
    for (int c = 0; c < kKeptTexts; ++c) {
        hashes[std::size_t(c)] = keptTextHash(orNull(*texts[c]));
    }
    return identityOf(hashes);
}

}  // namespace store
