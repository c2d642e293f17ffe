// summary DATAFILE
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/cli.h"

namespace admin {
namespace {

QString shown(const std::optional<QString>& text) {
    return text ? *text : Text::tr("(Null)");
}

int summary(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    const store::maintenance::Summary s = store::maintenance::summarize(*db);
    io.out << Text::tr("messages: %1").arg(s.messages) << "\n";
    io.out << Text::tr("unread: %1").arg(s.unread) << "\n";
    if (!s.unreadByAddressee.empty()) {
        io.out << Text::tr("unread per addressee (宛名):") << "\n";
        for (const auto& [name, count] : s.unreadByAddressee) {
            io.out << "  " << count << "\t" << shown(name) << "\n";
        }
    }
    if (s.oldestUnread) {
        io.out << Text::tr("oldest unread: ＮＯ %1, %2, %3")
                      .arg(s.oldestUnread->no)
                      .arg(shown(s.oldestUnread->addressee), shown(s.oldestUnread->receivedAt))
               << "\n";
    } else {
        io.out << Text::tr("oldest unread: none") << "\n";
    }
    return 0;
}

}  // namespace

const Command kSummaryCommand{
    "summary",
    QT_TRANSLATE_NOOP(
        "admin",
        "summary DATAFILE\n"
        "    Count the messages: in total, unread in total, unread per addressee (most\n"
        "    first), and name the oldest unread message (ＮＯ, 宛名, 受付日時).\n"
        "    Changes nothing; the figures are read as one picture. DATAFILE may be a\n"
        "    database server's URI.\n"),
    summary};

}  // namespace admin
