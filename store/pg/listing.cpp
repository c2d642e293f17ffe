#include "store/pg/listing.h"

#include <libpq-fe.h>

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store::pg {
namespace {

// The texts of one column read so far, in a fixed number of slots by a hash of their bytes (a
// collision only costs a conversion). A column whose texts hardly repeat (numbers, receive
// times) stops being looked up after a trial.
class ColumnTexts {
public:
    const QString& get(const char* data, int bytes) { return lookUp(data, bytes).text; }

    // Whether accept takes the text, asked once per distinct text held.
    bool accepted(const char* data, int bytes, const std::function<bool(const QString&)>& accept) {
        Slot& slot = lookUp(data, bytes);
        if (!slot.accepted) {
            slot.accepted = accept(slot.text);
        }
        return *slot.accepted;
    }

private:
    struct Slot {
        std::string key;
        QString text;
        std::optional<bool> accepted;
        bool used = false;
    };

    Slot& lookUp(const char* data, int bytes) {
        const std::string_view key(data, size_t(bytes));
        if (!enabled_ || bytes > kLongest) {
            scratch_ = Slot{{}, QString::fromUtf8(data, bytes), {}, true};
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
            return lookUp(data, bytes);
        }
        slot.used = true;
        slot.key.assign(key);
        slot.text = QString::fromUtf8(data, bytes);
        slot.accepted.reset();
        return slot;
    }

    // The length and the first and last eight bytes, where texts of one column differ.
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
    static constexpr int kLongest = 256;
    static constexpr long kTrial = 512;
    std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
    Slot scratch_;
    bool enabled_ = true;
    long lookups_ = 0;
    long hits_ = 0;
};

}  // namespace

Recordset readListing(const Result& result, const QString& filterColumn,
                      const std::function<bool(const QString&)>& accept, std::int64_t maxRows) {
    pg_result* r = result.get();
    const int columns = PQnfields(r);
    QStringList names;
    for (int c = 0; c < columns; ++c) {
        names << QString::fromUtf8(PQfname(r, c));
    }
    const int filter = filterColumn.isEmpty() ? -1 : int(names.indexOf(filterColumn));
    std::vector<ColumnTexts> texts(size_t(columns > 0 ? columns : 0));
    const int rows = PQntuples(r);
    Recordset::Cells cells;
    std::int64_t kept = 0;
    for (int row = 0; row < rows && (maxRows <= 0 || kept < maxRows); ++row) {
        if (filter >= 0 && (PQgetisnull(r, row, filter) ||
                            !texts[size_t(filter)].accepted(PQgetvalue(r, row, filter),
                                                            PQgetlength(r, row, filter), accept))) {
            continue;
        }
        ++kept;
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r, row, c)) {
                cells.emplace_back();
            } else {
                cells.emplace_back(
                    texts[size_t(c)].get(PQgetvalue(r, row, c), PQgetlength(r, row, c)));
            }
        }
    }
    return Recordset(std::move(names), std::move(cells));
}

}  // namespace store::pg
