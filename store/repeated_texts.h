#pragma once

#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// Texts that repeat down a column (names, the default memo, line kinds, dates) are made once
// from their bytes and shared by every row that holds them, which saves most of a large
// listing's memory and its allocations, and lets the grid make each derived text once per
// distinct text. A column whose texts hardly repeat (numbers, times) stops being looked up
// after a trial. Both engines' listings read their columns through one of these each.
class RepeatedTexts {
public:
    // The text of bytes: make() the first time, then the shared one.
    template <class Make>
    const QString& get(std::string_view bytes, Make make) {
        return lookUp(bytes, make).text;
    }

    // The text of bytes as get() gives it, and hash(text), made once per distinct text held.
    template <class Make, class Hash>
    const QString& hashed(std::string_view bytes, Make make, Hash hash, std::uint64_t& out) {
        Slot& slot = lookUp(bytes, make);
        if (!slot.hash) {
            slot.hash = hash(slot.text);
        }
        out = *slot.hash;
        return slot.text;
    }

    // Whether accept takes the text of bytes, asked once per distinct text held.
    template <class Make, class Accept>
    bool accepted(std::string_view bytes, Make make, Accept accept) {
        Slot& slot = lookUp(bytes, make);
        if (!slot.accepted) {
            slot.accepted = bool(accept(slot.text));
        }
        return *slot.accepted;
    }

private:
    struct Slot {
        std::string key;
        QString text;
        std::optional<bool> accepted;
        std::optional<std::uint64_t> hash;
        bool used = false;
    };

    template <class Make>
    Slot& lookUp(std::string_view key, Make make) {
        if (!enabled_ || key.size() > kLongest) {
            scratch_ = Slot{{}, make(), {}, {}, true};
            return scratch_;
        }
        Slot& slot = slots_[hash(key) % kSlots];
        ++lookups_;
        if (slot.used && slot.key == key) {
            ++hits_;
            return slot;
        }
        if (lookups_ == kTrial && hits_ * 8 < lookups_) {
            enabled_ = false;
            slots_.clear();
            return lookUp(key, make);
        }
        slot.used = true;
        slot.key.assign(key);
        slot.text = make();
        slot.accepted.reset();
        slot.hash.reset();
        return slot;
    }

    // Cheap and good enough here: the length and the first and last eight bytes, where texts
    // of one column differ. A collision only costs a miss.
    static size_t hash(std::string_view key) {
        std::uint64_t head = 0, tail = 0;
        std::memcpy(&head, key.data(), std::min<size_t>(8, key.size()));
        if (key.size() > 8) {
            std::memcpy(&tail, key.data() + key.size() - 8, 8);
        }
        std::uint64_t h = (head * 0x9e3779b97f4a7c15ULL) ^ (tail + key.size());
        h *= 0xbf58476d1ce4e5b9ULL;
        return size_t(h ^ (h >> 31));
    }

    static constexpr size_t kSlots = 521;
    static constexpr size_t kLongest = 256;
    static constexpr long kTrial = 512;
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
    Slot scratch_;
    long lookups_ = 0;
    long hits_ = 0;
    bool enabled_ = true;
};

}  // namespace store
