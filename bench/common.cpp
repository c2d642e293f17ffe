#include "bench/common.h"

#include <algorithm>

#include "store/like.h"
#include "store/memo_table.h"

namespace bench {

void allSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 10000, 100000, 1000000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

void upTo100k(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 10000, 100000}) {
        b->Arg(n);
    }
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

std::unique_ptr<store::Database> openData(const QString& path) {
    return store::Workspace{}.openDatabase(path, store::memo::tableName(),
                                           store::memo::requiredColumns());
}

UnreadRestorer::UnreadRestorer(const QString& path, const QString& name) : db_(openData(path)) {
    store::Recordset rs = db_->openRecordset(
        QStringLiteral("Select ＮＯ From MEMO_T Where 宛名 Like ? And 既読 Is Null"),
        {store::prefixPattern(name)});
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        unread_.push_back(rs.field(0).value().toLongLong());
    }
}

void UnreadRestorer::markAllUnread(const QString& path) {
    openData(path)->execute(QStringLiteral("Update MEMO_T Set 既読 = Null Where 既読 Is Not Null"));
}

void UnreadRestorer::restore() {
    if (unread_.empty()) {
        return;
    }
    QString list;
    for (std::int64_t no : unread_) {
        list += QString::number(no) + u',';
    }
    list.chop(1);
    db_->execute(
        QStringLiteral("Update MEMO_T Set 既読 = Null Where ＮＯ In (%1) And 既読 Is Not Null")
            .arg(list));
}

void report(benchmark::State& state, std::int64_t rowsPerIteration) {
    if (rowsPerIteration > 0) {
        state.SetItemsProcessed(state.iterations() * rowsPerIteration);
        state.counters["rows"] = double(rowsPerIteration);
    }
}

}  // namespace bench
