#include "store/file/numbering.h"

#include <sqlite3.h>

#include "store/file/statement.h"

namespace store::file::numbering {

bool keepsNumbering(sqlite3* h) {
    Statement hasSequence(
        h, QStringLiteral("Select 1 From sqlite_master Where type = 'table' And name = ?"));
    hasSequence.bind({QStringLiteral("sqlite_sequence")});
    return hasSequence.step();
}

std::int64_t highestEverNumbered(sqlite3* h) {
    if (!keepsNumbering(h)) {
        return 0;
    }
    Statement seq(h, QStringLiteral("Select seq From sqlite_sequence Where name = ?"));
    seq.bind({QStringLiteral("MEMO_T")});
    return seq.step() ? sqlite3_column_int64(seq.get(), 0) : 0;
}

std::int64_t highestHeld(sqlite3* h) {
    Statement max(h, QStringLiteral("Select Max(ＮＯ) From MEMO_T"));
    return max.step() ? sqlite3_column_int64(max.get(), 0) : 0;
}

void numberAfter(sqlite3* h, std::int64_t n) {
    if (!keepsNumbering(h) || n <= highestEverNumbered(h)) {
        return;
    }
    Statement update(h, QStringLiteral("Update sqlite_sequence Set seq = ? Where name = ?"));
    update.bind({n, QStringLiteral("MEMO_T")});
    update.step();
    if (sqlite3_changes(h) == 0) {
        Statement add(h, QStringLiteral("Insert Into sqlite_sequence (name, seq) Values (?, ?)"));
        add.bind({QStringLiteral("MEMO_T"), n});
        add.step();
    }
}

}  // namespace store::file::numbering
