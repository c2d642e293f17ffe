// The additions on a data file: which are there, the mark of one message, the ready phrases.
#include <sqlite3.h>

#include "store/file/file_additions.h"
#include "store/file/file_database.h"
#include "store/file/statement.h"
#include "store/file/values.h"

namespace store::file {

Additions FileDatabase::present() {
    return additionsOf(db_.get());
}

Additions FileDatabase::additions() {
    Additions found;
    reading([&] { found = present(); });
    return found;
}

void FileDatabase::setAdded(std::int64_t no, memo::Added column,
                            const std::optional<QString>& value) {
    writing([&] {
        run(QStringLiteral("Update MEMO_T Set %1 = ? Where ＮＯ = ?").arg(memo::columnName(column)),
            {addedParam(column, value), no});
    });
}

std::vector<Phrase> FileDatabase::phrases() {
    std::vector<Phrase> found;
    reading([&] {
        Statement st(db_.get(),
                     QStringLiteral("Select ＮＯ, 文言, 順番 From PHRASE_T Order By 順番, ＮＯ"));
        while (st.step()) {
            found.push_back({sqlite3_column_int64(st.get(), 0),
                             optionalText(st.get(), 1).value_or(QString()),
                             sqlite3_column_int64(st.get(), 2)});
        }
    });
    return found;
}

void FileDatabase::insertPhrase(const QString& text, std::int64_t order) {
    writing([&] {
        run(QStringLiteral("Insert into PHRASE_T (文言, 順番) Values (?, ?)"), {text, order});
    });
}

void FileDatabase::deletePhrase(std::int64_t no) {
    writing([&] { run(QStringLiteral("Delete from PHRASE_T Where ＮＯ = ?"), {no}); });
}

void FileDatabase::setPhraseOrder(std::int64_t no, std::int64_t order) {
    writing([&] {
        run(QStringLiteral("Update PHRASE_T Set 順番 = ? Where ＮＯ = ?"), {order, no});
    });
}

}  // namespace store::file
