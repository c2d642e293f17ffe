#pragma once

#include <QDateTime>
#include <QString>

namespace store {

// "YYYY/MM/DD"
QString dateText(const QDate& date);
// "YYYY/MM/DD HH:MM", 24-hour clock; date and time come from the same reading of the clock.
QString dateTimeText(const QDateTime& moment);
// One reading of the local clock.
QDateTime localNow();
// How lists show a stored date or date-time text: from its third character on.
QString fromThirdCharacter(const QString& text);

}  // namespace store
