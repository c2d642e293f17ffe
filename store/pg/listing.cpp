#include "store/pg/listing.h"

#include <libpq-fe.h>

#include <QStringList>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace store::pg {
namespace {

// The texts of one column read so far, by their bytes. A column whose texts hardly repeat
// (numbers, receive times) stops being looked up after a trial, so it costs no memory.
class ColumnTexts {
public:
    const QString& get(const char* data, int bytes) {
        if (!enabled_ || bytes > kLongest) {
            return convert(data, bytes);
        }
        const std::string_view key(data, size_t(bytes));
        ++lookups_;
        if (auto it = texts_.find(key); it != texts_.end()) {
            ++hits_;
            return it->second.text;
        }
        if (lookups_ == kTrial && hits_ * 8 < lookups_) {
            enabled_ = false;
            texts_.clear();
            return convert(data, bytes);
        }
        return texts_.emplace(key, Entry{QString::fromUtf8(data, bytes), {}}).first->second.text;
    }

    // Whether accept takes the text, asked once per distinct text while the column is looked up.
    bool accepted(const char* data, int bytes, const std::function<bool(const QString&)>& accept) {
        const QString& text = get(data, bytes);
        if (!enabled_ || bytes > kLongest) {
            return accept(text);
        }
        Entry& entry = texts_.find(std::string_view(data, size_t(bytes)))->second;
        if (!entry.accepted) {
            entry.accepted = accept(text);
        }
        return *entry.accepted;
    }

private:
    const QString& convert(const char* data, int bytes) {
        scratch_ = QString::fromUtf8(data, bytes);
        return scratch_;
    }

    static constexpr int kLongest = 256;
    static constexpr long kTrial = 512;
    struct Entry {
        QString text;
        std::optional<bool> accepted;
    };
    // Keys point into the result, which outlives the table.
    std::unordered_map<std::string_view, Entry> texts_;
    QString scratch_;
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
