#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

namespace store {

// What is wrong with what later releases added, from the types an engine reports for MEMO_T's
// columns and PHRASE_T's (empty when the table is missing): an added column of another type, a
// phrases table without one of its columns. What is missing is no problem: older data.
// ofType(type, integer) tells whether the engine's type holds whole numbers (or texts);
// typeName(integer) names the type wanted.
QStringList problemsOfAdditions(const QMap<QString, QString>& memoTypes,
                                const QMap<QString, QString>& phraseTypes,
                                const std::function<bool(const QString&, bool)>& ofType,
                                const std::function<QString(bool)>& typeName);

}  // namespace store
