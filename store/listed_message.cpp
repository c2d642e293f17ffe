#include "store/listed_message.h"

#include "store/server/memo.h"

namespace store::memo {
namespace {

// The texts a message keeps from its send on, in the order they are fingerprinted.
const std::array<QString, 7>& keptColumns() {
    static const std::array<QString, 7> columns = {
        QStringLiteral("宛名"),    QStringLiteral("相手"),   QStringLiteral("受人"),
        QStringLiteral("メモ"),    QStringLiteral("内外線"), QStringLiteral("電話"),
        QStringLiteral("受付日時")};
    return columns;
}

// 64-bit FNV-1a over UTF-16 code units. Every field starts with its length (a Null with a
// length no text has), so that no two different sequences of fields run together alike.
class Fingerprint {
public:
    void add(const Field& field) {
        if (field.isNull()) {
            mix(~std::uint64_t(0));
            return;
        }
        const QString& text = field.value();
        mix(std::uint64_t(text.size()));
        for (const QChar c : text) {
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

const QString kReadKept = QStringLiteral(
    "Select 宛名, 相手, 受人, メモ, 内外線, 電話, 受付日時 From MEMO_T Where ＮＯ = ?");

}  // namespace

IdentityColumns::IdentityColumns(const Recordset& rs) {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        columns_[i] = rs.columnIndex(keptColumns()[i]);
    }
}

Identity IdentityColumns::of(const Recordset& rs) const {
    static const Field null;
    Fingerprint fingerprint;
    for (const int column : columns_) {
        fingerprint.add(column >= 0 ? rs.field(column) : null);
    }
    return fingerprint.value();
}

RemoveOutcome removeListed(Database& db, const ListedMessage& listed) {
    RemoveOutcome outcome = RemoveOutcome::Gone;
    // What the engine found under the number (no row: deleted already) decides; the engine
    // deletes the message when this returns true.
    const auto stillListed = [&](const Recordset& found) {
        if (found.RecordCount() == 0) {
            outcome = RemoveOutcome::Gone;
            return false;
        }
        const bool same = IdentityColumns(found).of(found) == listed.identity;
        outcome = same ? RemoveOutcome::Removed : RemoveOutcome::Replaced;
        return same;
    };
    if (store::server::Connection* server = db.server()) {
        store::server::memo::removeIf(*server, listed.no, stillListed);
        return outcome;
    }
    db.writeTransaction([&](Database::Writer& writer) {
        if (stillListed(writer.read(kReadKept, {listed.no}))) {
            writer.execute(QStringLiteral("Delete from MEMO_T Where ＮＯ = ?"), {listed.no});
        }
    });
    return outcome;
}

}  // namespace store::memo
