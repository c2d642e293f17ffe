#include "store/tables.h"

namespace store {

namespace memo {

QString tableName() {
    return QStringLiteral("MEMO_T");
}

QStringList requiredColumns() {
    QStringList names;
    for (const Column& column : kColumns) {
        names << column.text();
    }
    return names;
}

}  // namespace memo

namespace settings {

QString tableName() {
    return QStringLiteral("INI_T");
}

QStringList requiredColumns() {
    return {QStringLiteral("ＮＯ"), QStringLiteral("名前"), QStringLiteral("フォルダ")};
}

}  // namespace settings

}  // namespace store
