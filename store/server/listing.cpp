#include "store/server/listing.h"

#include <libpq-fe.h>

#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "store/repeated_texts.h"

namespace store::server {
namespace {

std::string_view bytesAt(pg_result* r, int row, int column) {
    return {PQgetvalue(r, row, column), size_t(PQgetlength(r, row, column))};
}

// A value that is not Null: an empty text is an empty string, never a null one.
QString textAt(pg_result* r, int row, int column) {
    const int length = PQgetlength(r, row, column);
    return length == 0 ? QStringLiteral("") : QString::fromUtf8(PQgetvalue(r, row, column), length);
}

using RepeatedColumns = std::array<RepeatedTexts, kTextColumns>;

// The text column c (0 for 宛名) of a row; a null string for Null.
QString sharedText(pg_result* r, int row, int c, RepeatedColumns& repeated) {
    const int column = c + 1;
    if (PQgetisnull(r, row, column)) {
        return QString();
    }
    return repeated[std::size_t(c)].get(bytesAt(r, row, column),
                                        [&] { return textAt(r, row, column); });
}

// The same, and its fingerprint as a text a message keeps (store::keptTextHash).
QString sharedText(pg_result* r, int row, int c, RepeatedColumns& repeated, std::uint64_t& hash) {
    const int column = c + 1;
    if (PQgetisnull(r, row, column)) {
        hash = keptTextHash(nullptr);
        return QString();
    }
    return repeated[std::size_t(c)].hashed(
        bytesAt(r, row, column), [&] { return textAt(r, row, column); },
        [](const QString& text) { return keptTextHash(&text); }, hash);
}

// A whole number as the server writes it; none for Null or anything else.
std::optional<std::int64_t> numberAt(pg_result* r, int row, int column = 0) {
    if (PQgetisnull(r, row, column)) {
        return std::nullopt;
    }
    const char* const text = PQgetvalue(r, row, column);
    const char* const end = text + PQgetlength(r, row, column);
    std::int64_t n = 0;
    const auto [stop, error] = std::from_chars(text, end, n);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return n;
}

// The added columns follow memo::kColumns in a result that has them.
constexpr int kFirstAdded = int(memo::kColumns.size());
int addedColumnsIn(pg_result* r) {
    return std::clamp(PQnfields(r) - kFirstAdded, 0, int(memo::kAddedCount));
}

}  // namespace

Listing readListing(const Result& result, int filterColumn,
                    const std::function<bool(const QString&)>& accept, std::int64_t maxRows) {
    pg_result* r = result.get();
    const int rows = PQntuples(r);
    RepeatedColumns repeated;
    std::array<RepeatedTexts, memo::kAddedCount> repeatedAdded;
    const int addedInResult = addedColumnsIn(r);
    std::deque<ListedRow> listed;
    std::int64_t kept = 0;
    for (int row = 0; row < rows && (maxRows <= 0 || kept < maxRows); ++row) {
        if (filterColumn >= 0 && (PQgetisnull(r, row, filterColumn) ||
                                  !repeated[std::size_t(filterColumn - 1)].accepted(
                                      bytesAt(r, row, filterColumn),
                                      [&] { return textAt(r, row, filterColumn); }, accept))) {
            continue;
        }
        ++kept;
        ListedRow& out = listed.emplace_back();
        out.no = numberAt(r, row);
        QString* const texts[kTextColumns] = {&out.addressee,  &out.caller, &out.taker,
                                              &out.memo,       &out.line,   &out.phone,
                                              &out.receivedAt, &out.readOn};
        std::array<std::uint64_t, kKeptTexts> kept{};
        for (int c = 0; c < kTextColumns; ++c) {
            *texts[c] = c < kKeptTexts ? sharedText(r, row, c, repeated, kept[std::size_t(c)])
                                       : sharedText(r, row, c, repeated);
        }
        out.identity = identityOf(kept);
        for (std::size_t a = 0; a < std::size_t(addedInResult); ++a) {
            const int column = kFirstAdded + int(a);
            if (!PQgetisnull(r, row, column)) {
                out.added[a] = repeatedAdded[a].get(bytesAt(r, row, column),
                                                    [&] { return textAt(r, row, column); });
            }
        }
    }
    return Listing(std::move(listed));
}

std::vector<StoredMessage> readMessages(const Result& result) {
    pg_result* r = result.get();
    const int rows = PQntuples(r);
    RepeatedColumns repeated;
    const int addedInResult = addedColumnsIn(r);
    std::vector<StoredMessage> messages(std::size_t(std::max(rows, 0)));
    for (int row = 0; row < rows; ++row) {
        StoredMessage& m = messages[std::size_t(row)];
        m.no = numberAt(r, row).value_or(0);
        for (int c = 0; c < kTextColumns; ++c) {
            QString text = sharedText(r, row, c, repeated);
            if (!text.isNull()) {
                m.texts[std::size_t(c)] = std::move(text);
            }
        }
        for (int a = 0; a < addedInResult; ++a) {
            m.added[std::size_t(a)] = optionalText(result, row, kFirstAdded + a);
        }
    }
    return messages;
}

QString memoColumns(std::size_t first) {
    QStringList names;
    for (std::size_t c = first; c < memo::kColumns.size(); ++c) {
        names << u'"' + memo::kColumns[c].text() + u'"';
    }
    return names.join(QStringLiteral(", "));
}

QString addedSelection(const Additions& present) {
    QString out;
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        out += present.columns[c] ? QStringLiteral(", \"%1\"").arg(memo::kAddedColumns[c].text())
                                  : QStringLiteral(", NULL");
    }
    return out;
}

QString addedInsertColumns(const Additions& present) {
    QString out;
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            out += QStringLiteral(", \"%1\"").arg(memo::kAddedColumns[c].text());
        }
    }
    return out;
}

void appendAddedParams(const Additions& present, const AddedTexts& added, TextParams& params) {
    for (std::size_t c = 0; c < memo::kAddedCount; ++c) {
        if (present.columns[c]) {
            params.push_back(added[c]);
        } else if (added[c]) {
            throw Error(Error::Kind::Other,
                        QStringLiteral("サーバーの MEMO_T に列 %1 がありません（dulvane-admin "
                                       "upgrade で追加できます）。")
                            .arg(memo::kAddedColumns[c].text()));
        }
    }
}

std::int64_t number(const Result& result, int row, int column) {
    if (PQntuples(result.get()) <= row) {
        return 0;
    }
    return numberAt(result.get(), row, column).value_or(0);
}

std::optional<QString> optionalText(const Result& result, int row, int column) {
    if (PQgetisnull(result.get(), row, column)) {
        return std::nullopt;
    }
    return textAt(result.get(), row, column);
}

}  // namespace store::server
