#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <optional>

// The one reader of dates and times given to dulvane-admin, in a file or on the command line,
// and the message book's own texts for them.
namespace admin {

// A date, or a date and time of day, on the office's wall clock.
struct WallClock {
    QDate date;
    std::optional<QTime> time;  // to the minute; nullopt when only a date was written
};

// Reads the forms spreadsheets, the old system's export and ISO 8601 write:
// - year first: "2019/2/21", "2019-02-21", with " H:MM", " HH:MM" or " HH:MM:SS" after it;
// - ISO 8601: "2019-02-21T17:54", "2019-02-21T17:54:00.250", and with a zone, "Z" or an offset
//   ("+09:00", "+0900", "+09"); a written zone makes the value a moment, which is read as this
//   computer's local time (the TZ environment variable chooses another time zone);
// - month first, as mdb-export writes: "12/25/02 12:25:00", "1/5/1999 8:05"; two-digit years
//   from 30 on are in the 1900s, the others in the 2000s.
// Seconds and fractions are dropped. Surrounding spaces are ignored. nullopt for anything else,
// and for a day or time that does not exist (2019/2/30, 25:00).
std::optional<WallClock> readWallClock(const QString& text);

// "YYYY/MM/DD".
QString dateText(const QDate& date);
// "YYYY/MM/DD HH:MM"; a date alone is at 00:00.
QString dateTimeText(const WallClock& value);

}  // namespace admin
