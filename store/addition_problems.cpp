#include "store/addition_problems.h"

#include "store/tables.h"

namespace store {

QStringList problemsOfAdditions(const QMap<QString, QString>& memoTypes,
                                const QMap<QString, QString>& phraseTypes,
                                const std::function<bool(const QString&, bool)>& ofType,
                                const std::function<QString(bool)>& typeName) {
    QStringList problems;
    for (const memo::AddedColumn& column : memo::kAddedColumns) {
        const auto type = memoTypes.constFind(column.text());
        if (type != memoTypes.cend() && !ofType(*type, column.integer)) {
            problems << QStringLiteral("MEMO_T の列 %1 の型が %2 ではありません（%3）。")
                            .arg(column.text(), typeName(column.integer), *type);
        }
    }
    if (!phraseTypes.isEmpty()) {
        for (const Column& column : phrases::kColumns) {
            if (!phraseTypes.contains(column.text())) {
                problems << QStringLiteral("%1 に列 %2 がありません。")
                                .arg(phrases::tableName(), column.text());
            }
        }
    }
    return problems;
}

}  // namespace store
