// The message table's statements on a data file.
#include <sqlite3.h>

#include <QStringList>
#include <array>

#include "store/file/engine_error.h"
#include "store/file/file_additions.h"
#include "store/file/file_database.h"
#include "store/file/file_schema.h"
#include "store/file/numbering.h"
#include "store/file/statement.h"
#include "store/file/values.h"
#include "store/repeated_texts.h"

namespace store::file {
namespace {

// Only well-formed received times compare with a date; an empty or foreign text is never
// taken for an old one.
constexpr const char* kReadBefore =
    "From MEMO_T Where 既読 Is Not Null And 受付日時 < ? "
    "And 受付日時 Glob '[0-9][0-9][0-9][0-9]/[0-9][0-9]/[0-9][0-9]*'";

// The column's distinct values in the order of its index (the byte order of their texts), Nulls
// left out: from the least, each time the least greater than the last.
const QString kDistinctNames = QStringLiteral(
    "WITH RECURSIVE names(v) AS (SELECT min(%1) FROM MEMO_T "
    "UNION ALL SELECT (SELECT min(%1) FROM MEMO_T WHERE %1 > names.v) FROM names "
    "WHERE names.v IS NOT NULL) "
    "SELECT v FROM names WHERE v IS NOT NULL");

Params textParams(const MessageTexts& texts) {
    Params params;
    params.reserve(texts.size());
    for (const std::optional<QString>& text : texts) {
        params.push_back(text ? Param(*text) : Param(nullptr));
    }
    return params;
}

std::int64_t single(sqlite3* db, const QString& sql, const Params& params = {}) {
    Statement st(db, sql);
    st.bind(params);
    return st.step() ? sqlite3_column_int64(st.get(), 0) : 0;
}

// The texts of the current row from column first on (memo::kColumns' order after ＮＯ).
MessageTexts rowTexts(sqlite3_stmt* stmt, int first) {
    MessageTexts texts;
    for (int c = 0; c < kTextColumns; ++c) {
        texts[std::size_t(c)] = optionalText(stmt, first + c);
    }
    return texts;
}

// The same for many rows: a text that repeats down a column is one string.
using RepeatedColumns = std::array<RepeatedTexts, kTextColumns>;
MessageTexts rowTexts(sqlite3_stmt* stmt, int first, RepeatedColumns& repeated) {
    MessageTexts texts;
    for (int c = 0; c < kTextColumns; ++c) {
        QString text = sharedText(stmt, first + c, repeated[std::size_t(c)]);
        if (!text.isNull()) {
            texts[std::size_t(c)] = std::move(text);
        }
    }
    return texts;
}

// ＮＯ as a number; none when the value there is not a whole number.
std::optional<std::int64_t> number(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_INTEGER:
            return sqlite3_column_int64(stmt, column);
        case SQLITE_NULL:
            return std::nullopt;
        default:
            break;
    }
    bool ok = false;
    const std::int64_t n = columnText(stmt, column).toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(n) : std::nullopt;
}

// The statement with " And Not (column Like ? Or ...)" put before tail for the directory's
// longer names, and the parameters: the prefix's pattern, then each excluded one.
QString withExclusions(const QString& head, const QString& column, const NamePrefix& prefix,
                       const QString& tail, Params& params) {
    params.insert(params.begin(), prefix.pattern);
    if (prefix.excluded.empty()) {
        return head + tail;
    }
    QStringList alternatives;
    for (const NamePrefix::Excluded& longer : prefix.excluded) {
        alternatives << column + QStringLiteral(" Like ?");
        params.insert(params.begin() + qsizetype(alternatives.size()), longer.pattern);
    }
    return head + QStringLiteral(" And Not (%1)").arg(alternatives.join(QStringLiteral(" Or "))) +
           tail;
}

}  // namespace

QStringList FileDatabase::distinctNames(NameColumn column) {
    QStringList names;
    reading([&] {
        if (!nameIndexes_) {
            nameIndexes_ = hasNameIndexes(db_.get());
        }
        // Stepping through the column's index from one name to the next takes one probe per
        // name, whatever the number of messages (a send at 1,000,000 messages: its three lists in
        // about 2 ms instead of 150). A file made by an earlier release without the indexes (see
        // upgradeTable) would pay a read of every message per name: it is read once instead.
        const QString& sql =
            *nameIndexes_
                ? forEachColumn(column,
                                [](NameColumn c) { return kDistinctNames.arg(columnName(c)); })
                : forEachColumn(column, [](NameColumn c) {
                      return QStringLiteral("Select Distinct(%1) From MEMO_T").arg(columnName(c));
                  });
        Statement st(db_.get(), sql);
        while (st.step()) {
            if (sqlite3_column_type(st.get(), 0) != SQLITE_NULL) {
                names << columnText(st.get(), 0);
            }
        }
    });
    return names;
}

bool FileDatabase::anyMessage() {
    bool any = false;
    reading(
        [&] { any = Statement(db_.get(), QStringLiteral("Select 1 From MEMO_T Limit 1")).step(); });
    return any;
}

Listing FileDatabase::listing(NameColumn column, const NamePrefix& prefix) {
    std::deque<ListedRow> rows;
    reading([&] {
        const QString head = QStringLiteral("Select %1%3 From MEMO_T Where %2 Like ?")
                                 .arg(memoColumns(), columnName(column), addedSelection(present()));
        Params params;
        Statement st(db_.get(), withExclusions(head, columnName(column), prefix,
                                               QStringLiteral(" Order By ＮＯ Desc"), params));
        st.bind(params);
        sqlite3_stmt* const stmt = st.get();
        RepeatedColumns repeated;
        std::array<RepeatedTexts, memo::kAddedCount> repeatedAdded;
        while (st.step()) {
            ListedRow& row = rows.emplace_back();
            row.no = number(stmt, 0);
            QString* const texts[kTextColumns] = {&row.addressee,  &row.caller, &row.taker,
                                                  &row.memo,       &row.line,   &row.phone,
                                                  &row.receivedAt, &row.readOn};
            std::array<std::uint64_t, kKeptTexts> kept{};
            for (int c = 0; c < kTextColumns; ++c) {
                RepeatedTexts& column = repeated[std::size_t(c)];
                *texts[c] = c < kKeptTexts ? sharedText(stmt, c + 1, column, kept[std::size_t(c)])
                                           : sharedText(stmt, c + 1, column);
            }
            for (std::size_t a = 0; a < memo::kAddedCount; ++a) {
                row.added[a] = sharedText(stmt, 1 + kTextColumns + int(a), repeatedAdded[a]);
            }
            row.identity = store::identityOf(kept);
        }
    });
    return Listing(std::move(rows));
}

bool FileDatabase::anyUnread(const NamePrefix& addressee) {
    bool any = false;
    reading([&] {
        Params params;
        Statement st(db_.get(),
                     withExclusions(QStringLiteral("Select * From MEMO_T Where 宛名 Like ?"),
                                    QStringLiteral("宛名"), addressee,
                                    QStringLiteral(" And 既読 is Null"), params));
        st.bind(params);
        any = st.step();
    });
    return any;
}

Unread FileDatabase::unread(const NamePrefix& addressee) {
    Unread found;
    reading([&] {
        // One pass and one row read: the count comes with the newest row.
        Params params;
        Statement st(
            db_.get(),
            withExclusions(QStringLiteral("Select 相手, 受付日時, メモ, Count(*) Over (), %1 "
                                          "From MEMO_T Where 宛名 Like ?")
                               .arg(present().has(memo::Added::Urgent)
                                        ? QStringLiteral("Max(至急 = 1) Over ()")
                                        : QStringLiteral("0")),
                           QStringLiteral("宛名"), addressee,
                           QStringLiteral(" And 既読 is Null Order By ＮＯ Desc Limit 1"), params));
        st.bind(params);
        if (st.step()) {
            found.caller = columnText(st.get(), 0);
            found.receivedAt = columnText(st.get(), 1);
            found.memo = columnText(st.get(), 2);
            found.count = sqlite3_column_int64(st.get(), 3);
            found.urgent = sqlite3_column_int64(st.get(), 4) == 1;
        }
    });
    return found;
}

std::optional<MessageTexts> FileDatabase::message(std::int64_t no) {
    std::optional<MessageTexts> found;
    reading([&] {
        Statement st(
            db_.get(), madeOnce([] {
                return QStringLiteral("Select %1 From MEMO_T Where ＮＯ = ?").arg(memoColumns(1));
            }));
        st.bind({no});
        if (st.step()) {
            found = rowTexts(st.get(), 0);
        }
    });
    return found;
}

std::vector<StoredMessage> FileDatabase::everyMessage() {
    std::vector<StoredMessage> messages;
    reading([&] {
        Statement st(db_.get(), QStringLiteral("Select %1%2 From MEMO_T Order By ＮＯ")
                                    .arg(memoColumns(), addedSelection(present())));
        RepeatedColumns repeated;
        while (st.step()) {
            StoredMessage& m = messages.emplace_back();
            m.no = number(st.get(), 0).value_or(0);
            m.texts = rowTexts(st.get(), 1, repeated);
            for (std::size_t a = 0; a < memo::kAddedCount; ++a) {
                m.added[a] = optionalText(st.get(), 1 + kTextColumns + int(a));
            }
        }
    });
    return messages;
}

std::int64_t FileDatabase::highestEverNumbered() {
    std::int64_t highest = 0;
    reading([&] { highest = numbering::highestEverNumbered(db_.get()); });
    return highest;
}

std::vector<std::int64_t> FileDatabase::numbersHeld(const std::vector<std::int64_t>& among) {
    std::vector<std::int64_t> held;
    reading([&] {
        Statement find(db_.get(), QStringLiteral("Select 1 From MEMO_T Where ＮＯ = ?"));
        for (const std::int64_t no : among) {
            find.bind({no});
            if (find.step()) {
                held.push_back(no);
            }
            sqlite3_reset(find.get());
        }
    });
    return held;
}

std::int64_t FileDatabase::countReadBefore(const QString& dateText) {
    std::int64_t count = 0;
    reading([&] {
        count =
            single(db_.get(), QStringLiteral("Select Count(*) ") + QString::fromUtf8(kReadBefore),
                   {dateText});
    });
    return count;
}

Summary FileDatabase::summary() {
    Summary s;
    reading([&] {
        sqlite3* const db = db_.get();
        s.messages = single(db, QStringLiteral("Select Count(*) From MEMO_T"));
        s.unread = single(db, QStringLiteral("Select Count(*) From MEMO_T Where 既読 Is Null"));
        Statement per(db,
                      QStringLiteral("Select 宛名, Count(*) As n From MEMO_T Where 既読 Is Null "
                                     "Group By 宛名 Order By n Desc, 宛名"));
        while (per.step()) {
            s.unreadByAddressee.emplace_back(optionalText(per.get(), 0),
                                             sqlite3_column_int64(per.get(), 1));
        }
        Statement oldest(
            db, QStringLiteral("Select ＮＯ, 宛名, 受付日時 From MEMO_T Where 既読 Is Null "
                               "Order By 受付日時 Is Null, 受付日時, ＮＯ Limit 1"));
        if (oldest.step()) {
            s.oldestUnread =
                Summary::Oldest{sqlite3_column_int64(oldest.get(), 0),
                                optionalText(oldest.get(), 1), optionalText(oldest.get(), 2)};
        }
    });
    return s;
}

std::int64_t FileDatabase::markRead(const NamePrefix& addressee, std::int64_t upTo,
                                    const QString& dateText) {
    std::int64_t marked = 0;
    writing([&] {
        Params params{upTo};
        const QString sql = withExclusions(
            QStringLiteral("Update MEMO_T set 既読 = ? Where 宛名 Like ?"), QStringLiteral("宛名"),
            addressee, QStringLiteral(" And 既読 is null And ＮＯ <= ?"), params);
        params.insert(params.begin(), dateText);
        marked = run(sql, params);
    });
    return marked;
}

void FileDatabase::insertMessage(const MessageTexts& texts, const AddedTexts& added) {
    writing([&] {
        const Additions there = present();
        Params params = textParams(texts);
        appendAddedParams(there, added, params);
        run(QStringLiteral("Insert into MEMO_T (%1%3) Values (%2%4)")
                .arg(memoColumns(1), placeholders(kTextColumns), addedInsertColumns(there),
                     addedInsertMarks(there)),
            params);
    });
}

void FileDatabase::deleteMessage(std::int64_t no) {
    writing([&] { run(QStringLiteral("Delete from MEMO_T Where ＮＯ = ?"), {no}); });
}

std::int64_t FileDatabase::addMessages(const std::vector<StoredMessage>& messages,
                                       const Progress& progress) {
    std::int64_t added = 0;
    writing([&] {
        // A Null ＮＯ takes the next number; a larger kept number moves the numbering on.
        const Additions there = present();
        Statement insert(db_.get(), QStringLiteral("Insert into MEMO_T (%1%3) Values (%2%4)")
                                        .arg(memoColumns(), placeholders(memo::kColumns.size()),
                                             addedInsertColumns(there), addedInsertMarks(there)));
        Params params(memo::kColumns.size());
        for (const StoredMessage& m : messages) {
            params.resize(memo::kColumns.size());
            params[0] = m.no ? Param(*m.no) : Param(nullptr);
            for (std::size_t c = 0; c < m.texts.size(); ++c) {
                params[c + 1] = m.texts[c] ? Param(*m.texts[c]) : Param(nullptr);
            }
            appendAddedParams(there, m.added, params);
            insert.bind(params);
            insert.step();
            sqlite3_reset(insert.get());
            if (++added % 1000 == 0 && progress) {
                progress(added);
            }
        }
    });
    return added;
}

void FileDatabase::numberAfter(std::int64_t n) {
    writing([&] { numbering::numberAfter(db_.get(), n); });
}

std::int64_t FileDatabase::removeReadBefore(const QString& dateText) {
    std::int64_t removed = 0;
    writing([&] {
        removed = run(QStringLiteral("Delete ") + QString::fromUtf8(kReadBefore), {dateText});
    });
    return removed;
}

}  // namespace store::file
