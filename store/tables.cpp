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

QString columnName(Added column) {
    return kAddedColumns[std::size_t(column)].text();
}

QStringList everyColumn() {
    QStringList names = requiredColumns();
    for (const AddedColumn& column : kAddedColumns) {
        names << column.text();
    }
    return names;
}

}  // namespace memo

namespace staff {

QString tableName() {
    return QStringLiteral("STAFF_T");
}

}  // namespace staff

namespace relay {

QString tableName() {
    return QStringLiteral("FORWARD_T");
}

}  // namespace relay

namespace phrases {

QString tableName() {
    return QStringLiteral("PHRASE_T");
}

}  // namespace phrases

QString tableName(AddedTable table) {
    switch (table) {
        case AddedTable::Phrases:
            break;
    }
    return phrases::tableName();
}

namespace settings {

QString tableName() {
    return QStringLiteral("INI_T");
}

QStringList requiredColumns() {
    return {QStringLiteral("ＮＯ"), QStringLiteral("名前"), QStringLiteral("フォルダ")};
}

}  // namespace settings

}  // namespace store
