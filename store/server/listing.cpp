#include "store/server/listing.h"

#include <libpq-fe.h>

#include <QStringList>
#include <string_view>
#include <vector>

#include "store/repeated_texts.h"

namespace store::server {
namespace {

std::string_view bytesAt(pg_result* r, int row, int column) {
    return {PQgetvalue(r, row, column), size_t(PQgetlength(r, row, column))};
}

QString textAt(pg_result* r, int row, int column) {
    return QString::fromUtf8(PQgetvalue(r, row, column), PQgetlength(r, row, column));
}

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
    std::vector<RepeatedTexts> texts(size_t(columns > 0 ? columns : 0));
    const int rows = PQntuples(r);
    Recordset::Cells cells;
    std::int64_t kept = 0;
    for (int row = 0; row < rows && (maxRows <= 0 || kept < maxRows); ++row) {
        if (filter >= 0 &&
            (PQgetisnull(r, row, filter) ||
             !texts[size_t(filter)].accepted(
                 bytesAt(r, row, filter), [&] { return textAt(r, row, filter); }, accept))) {
            continue;
        }
        ++kept;
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r, row, c)) {
                cells.emplace_back();
            } else {
                cells.emplace_back(
                    texts[size_t(c)].get(bytesAt(r, row, c), [&] { return textAt(r, row, c); }));
            }
        }
    }
    return Recordset(std::move(names), std::move(cells));
}

}  // namespace store::server
