#include "tools/admin/dates.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimeZone>

namespace admin {
namespace {

int number(const QRegularExpressionMatch& m, QStringView group) {
    return m.captured(group).toInt();  // 0 for a group that did not take part
}

// The zone written after a time, in seconds ahead of UTC; nullopt for one that cannot be.
std::optional<int> zoneOffset(const QString& zone) {
    if (zone == QLatin1String("Z")) {
        return 0;
    }
    const QString digits = QString(zone.mid(1)).remove(u':');
    const int hours = digits.left(2).toInt();
    const int minutes = digits.mid(2).toInt();
    if (hours > 14 || minutes > 59) {
        return std::nullopt;
    }
    return (zone.startsWith(u'-') ? -1 : 1) * (hours * 3600 + minutes * 60);
}

}  // namespace

std::optional<WallClock> readWallClock(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^(?:(?<y>\\d{4})(?<sep>[/-])(?<m>\\d{1,2})\\k<sep>(?<d>\\d{1,2})"
                       "|(?<mf>\\d{1,2})/(?<df>\\d{1,2})/(?<yf>\\d{2}|\\d{4}))"
                       "(?:(?<t>[ T])(?<hh>\\d{1,2}):(?<mm>\\d{2})(?::(?<ss>\\d{2})(?:[.,]\\d+)?)?"
                       "(?<zone>Z|[+-]\\d{2}(?::?\\d{2})?)?)?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const bool yearFirst = m.capturedLength(u"y") > 0;
    const bool iso = yearFirst && m.captured(u"sep") == QLatin1String("-");
    // "T" and a zone belong to ISO 8601 dates only.
    if ((m.captured(u"t") == QLatin1String("T") || m.capturedLength(u"zone") > 0) && !iso) {
        return std::nullopt;
    }
    WallClock value;
    if (yearFirst) {
        value.date = QDate(number(m, u"y"), number(m, u"m"), number(m, u"d"));
    } else {
        int year = number(m, u"yf");
        if (m.capturedLength(u"yf") == 2) {
            year += year < 30 ? 2000 : 1900;
        }
        value.date = QDate(year, number(m, u"mf"), number(m, u"df"));
    }
    if (!value.date.isValid()) {
        return std::nullopt;
    }
    if (m.capturedLength(u"t") == 0) {
        return value;
    }
    const QTime time(number(m, u"hh"), number(m, u"mm"), number(m, u"ss"));
    if (!time.isValid()) {
        return std::nullopt;
    }
    value.time = QTime(time.hour(), time.minute());
    if (m.capturedLength(u"zone") > 0) {
        // A moment: the office's clock showed the time it has here.
        const std::optional<int> offset = zoneOffset(m.captured(u"zone"));
        if (!offset) {
            return std::nullopt;
        }
        const QDateTime here = QDateTime(value.date, time, QTimeZone(*offset)).toLocalTime();
        value.date = here.date();
        value.time = QTime(here.time().hour(), here.time().minute());
    }
    return value;
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString dateTimeText(const WallClock& value) {
    return dateText(value.date) + u' ' +
           value.time.value_or(QTime(0, 0)).toString(QStringLiteral("HH:mm"));
}

}  // namespace admin
