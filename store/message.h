#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "store/tables.h"

// The messages as they travel between the office's rules and the engines.
namespace store {

// The texts of a message after ＮＯ, in the order of memo::kColumns (宛名, 相手, 受人, メモ,
// 内外線, 電話, 受付日時, 既読); nullopt is Null.
inline constexpr int kTextColumns = int(memo::kColumns.size()) - 1;
using MessageTexts = std::array<std::optional<QString>, kTextColumns>;
// The values of memo::kAddedColumns, in their order, as texts ("1" for an urgent message);
// nullopt is Null, and what data without the column gives.
using AddedTexts = std::array<std::optional<QString>, memo::kAddedCount>;

// A whole message: its number, or nullopt for the next free one, its texts and the values of
// the added columns.
struct StoredMessage {
    std::optional<std::int64_t> no;
    MessageTexts texts;
    AddedTexts added{};
};

// What the data holds of what later releases added: each of memo::kAddedColumns, each of the
// added tables (store::AddedTable).
struct Additions {
    std::array<bool, memo::kAddedCount> columns{};
    std::array<bool, kAddedTableCount> tables{};

    bool has(memo::Added column) const { return columns[std::size_t(column)]; }
    bool has(AddedTable table) const { return tables[std::size_t(table)]; }
    // Every addition is there.
    bool complete() const;
};

// 至急's value for an urgent message.
QString urgentText();

// The fields of a new message, as the entry fields hold them.
struct NewMessage {
    QString addressee;         // 宛名
    QString caller;            // 相手
    QString taker;             // 受人
    QString memo;              // メモ
    bool outsideLine = false;  // 内外線: "外線" when set, else "内線"
    QString phone;             // 電話: "-" is stored when empty
    QString receivedAt;        // 受付日時
    bool urgent = false;       // 至急: 1 when set, else Null
};

// The three columns that hold names: the pick lists' and the lists'.
enum class NameColumn {
    Addressee,  // 宛名
    Caller,     // 相手
    Taker,      // 受人
};
QString columnName(NameColumn column);

// A text made once by make() (a statement), and kept for every later call from the same place.
template <class Make>
const QString& madeOnce(Make make) {
    static const QString text = make();
    return text;
}

// A text made once for each name column by make(column) (a statement about that column), and
// kept for every later call from the same place.
template <class Make>
const QString& forEachColumn(NameColumn column, Make make) {
    static const std::array<QString, 3> texts = {make(NameColumn::Addressee),
                                                 make(NameColumn::Caller), make(NameColumn::Taker)};
    return texts[std::size_t(column)];
}

// The unread messages addressed to a name: how many, and the newest of them (the highest ＮＯ).
// The texts are empty when none waits; a Null reads as "".
struct Unread {
    std::int64_t count = 0;
    QString caller;      // 相手
    QString receivedAt;  // 受付日時
    QString memo;        // メモ
    // One of them is marked urgent (至急), where the data has the mark.
    bool urgent = false;
};

// The names a list looks for: every name beginning with name, by the office's Like, except
// the names beginning with one of excluded: the staff directory's longer names that begin with
// name, whose messages are their own (store::staff). excluded is empty without a directory.
struct NamePrefix {
    QString name;     // as the engines store it
    QString pattern;  // prefixPattern(name)
    struct Excluded {
        QString name;     // as the engines store it
        QString pattern;  // prefixPattern(name)
    };
    std::vector<Excluded> excluded;
};

// A fingerprint of the texts a message keeps from its send on: 宛名, 相手, 受人, メモ, 内外線,
// 電話 and 受付日時, a Null told apart from an empty text. 既読 is left out: the received list
// itself sets it on the messages it shows. A number alone does not tell a message: a data file
// put back from a backup may hand out again the numbers it handed out after the backup.
using Identity = std::uint64_t;
Identity identityOf(const MessageTexts& texts);
// The same in two steps, for readers that meet a text many times: each kept text's own
// fingerprint (keptTextHash, nullptr for Null), then the identity of the seven in order.
inline constexpr int kKeptTexts = 7;
std::uint64_t keptTextHash(const QString* text);
Identity identityOf(const std::array<std::uint64_t, kKeptTexts>& keptTextHashes);

// A message as a list shows it. A null QString is Null; an empty text is never null.
struct ListedRow {
    std::optional<std::int64_t> no;  // none when ＮＯ holds no whole number
    QString addressee;               // 宛名
    QString caller;                  // 相手
    QString taker;                   // 受人
    QString memo;                    // メモ
    QString line;                    // 内外線
    QString phone;                   // 電話
    QString receivedAt;              // 受付日時
    QString readOn;                  // 既読
    // The added columns' values (memo::kAddedColumns), a null QString for Null.
    std::array<QString, memo::kAddedCount> added;
    Identity identity = 0;

    const QString& value(memo::Added column) const { return added[std::size_t(column)]; }
    bool urgent() const { return value(memo::Added::Urgent) == urgentText(); }
    bool handled() const { return !value(memo::Added::HandledAt).isNull(); }
};
Identity identityOf(const ListedRow& row);

// The rows of a received or sent list, newest first, held in memory. Texts that repeat down a
// column (names, the default memo, the line, dates read) are one string shared by every row.
class Listing {
public:
    Listing() = default;
    explicit Listing(std::deque<ListedRow> rows) : rows_(std::move(rows)) {}

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    const ListedRow& operator[](std::size_t i) const { return rows_[i]; }
    auto begin() const { return rows_.begin(); }
    auto end() const { return rows_.end(); }

    // Goes through the rows once, first to last, calling visit(row), and frees each row as
    // soon as it was visited, so that rows copied elsewhere (a list shown in the grid) are
    // never held twice. A visit that throws keeps its row and those after it. The listing is
    // empty afterwards.
    template <class Visit>
    void drain(Visit visit) {
        while (!rows_.empty()) {
            visit(std::as_const(rows_.front()));
            rows_.pop_front();
        }
        rows_ = std::deque<ListedRow>();
    }

private:
    std::deque<ListedRow> rows_;
};

// One of the office's ready phrases (PHRASE_T).
struct Phrase {
    std::int64_t no = 0;     // ＮＯ
    QString text;            // 文言
    std::int64_t order = 0;  // 順番
};

// The administrator's summary: counts only.
struct Summary {
    std::int64_t messages = 0;
    std::int64_t unread = 0;
    // Addressee (nullopt: Null) and unread count, most first.
    std::vector<std::pair<std::optional<QString>, std::int64_t>> unreadByAddressee;
    // The oldest unread message by 受付日時 (then ＮＯ).
    struct Oldest {
        std::int64_t no = 0;
        std::optional<QString> addressee;
        std::optional<QString> receivedAt;
    };
    std::optional<Oldest> oldestUnread;
};

}  // namespace store
