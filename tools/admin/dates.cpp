#include "tools/admin/dates.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

namespace admin {

std::optional<QString> dateTextFromArgument(const QString& argument) {
    static const QRegularExpression form(QStringLiteral("^(\\d{4})([/-])(\\d{2})\\2(\\d{2})$"));
    const QRegularExpressionMatch m = form.match(argument);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString fromOldExport(const QString& value, bool withTime) {
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})(?: (\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = form.match(value);
    if (!m.hasMatch()) {
        return value;
    }
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2) {
        year += year < 30 ? 2000 : 1900;
    }
    const QDate date(year, m.captured(1).toInt(), m.captured(2).toInt());
    const QTime time(m.captured(4).isEmpty() ? 0 : m.captured(4).toInt(),
                     m.captured(5).isEmpty() ? 0 : m.captured(5).toInt(),
                     m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
    if (!date.isValid() || !time.isValid()) {
        return value;
    }
    const QString day = date.toString(QStringLiteral("yyyy/MM/dd"));
    return withTime ? day + u' ' + time.toString(QStringLiteral("HH:mm")) : day;
}

}  // namespace admin
