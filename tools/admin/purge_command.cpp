// purge DATAFILE --before DATE [--yes]
#include <QTextStream>
#include <cstdio>

#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/cli.h"
#include "tools/admin/dates.h"
#include "tools/admin/terminal.h"

namespace admin {
namespace {

// Asks on the terminal. はい, y and yes are a yes, in either language; anything else (いいえ, n,
// no, an empty line, the end of input) is a no.
bool confirmed(Io& io, const QString& question) {
    io.out << question << " " << Text::tr("[y/N]") << " ";
    io.out.flush();
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == QStringLiteral("はい") || answer == QLatin1String("y") ||
           answer == QLatin1String("yes");
}

int purge(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--yes")}, {QStringLiteral("--before")}, 1);
    if (!a.has(QStringLiteral("--before"))) {
        throw UsageError(Text::tr("purge needs --before DATE"));
    }
    const QString given = a.option(QStringLiteral("--before"));
    const std::optional<WallClock> moment = readWallClock(given);
    if (!moment) {
        throw UsageError(Text::tr("--before %1 is not a date (2019/2/21, 2019-02-21, or with a "
                                  "time, 2019/2/21 17:54)")
                             .arg(given));
    }
    // Stored times sort as texts, so the book's own text of the date or moment is the limit:
    // a date alone keeps the messages of that day.
    const QString before = moment->time ? dateTimeText(*moment) : dateText(moment->date);
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    const std::int64_t count = store::maintenance::countReadBefore(*db, before);
    if (count == 0) {
        io.out << Text::tr("no read message received before %1; nothing removed").arg(before)
               << "\n";
        return 0;
    }
    const QString what = Text::tr("%1 read message(s) received before %2").arg(count).arg(before);
    if (!a.flag(QStringLiteral("--yes"))) {
        if (!stdinIsTerminal()) {
            throw Failure(Text::tr("%1 would be removed; give --yes to remove them without a "
                                   "terminal to ask on")
                              .arg(what));
        }
        if (!confirmed(io, Text::tr("Remove %1 from %2?").arg(what, store::maskedLocation(a[0])))) {
            throw Failure(Text::tr("nothing removed"));
        }
    }
    const std::int64_t removed = store::maintenance::removeReadBefore(*db, before);
    io.out << Text::tr("removed %1 read message(s) received before %2").arg(removed).arg(before)
           << "\n";
    return 0;
}

}  // namespace

const Command kPurgeCommand{
    "purge",
    QT_TRANSLATE_NOOP(
        "admin",
        "purge DATAFILE --before DATE [--yes]\n"
        "    Remove the messages that have been read (既読 set) and were received\n"
        "    (受付日時) before that date (2019/2/21, 2019-02-21, or any form import\n"
        "    takes, 12/25/02 too); with a time (2019/2/21 17:54) before that minute.\n"
        "    Unread messages are never removed. Says how many it would remove and asks\n"
        "    on the terminal: y, yes or はい removes them, anything else nothing.\n"
        "    --yes removes them without asking (for scripts; without a terminal --yes\n"
        "    is required). All or none. DATAFILE may be a database server's URI.\n"),
    purge};

}  // namespace admin
