#include "store/date_time_text.h"

namespace store {

QString dateText(const QDate& date) {
    return QStringLiteral("%1/%2/%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString dateTimeText(const QDateTime& moment) {
    const QTime time = moment.time();
    return dateText(moment.date()) + QStringLiteral(" %1:%2")
                                         .arg(time.hour(), 2, 10, QLatin1Char('0'))
                                         .arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QDateTime localNow() {
    return QDateTime::currentDateTime();
}

QString fromThirdCharacter(const QString& text) {
    return text.size() > 2 ? text.mid(2) : QString();
}

}  // namespace store
