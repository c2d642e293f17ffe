// summary DATAFILE
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/cli.h"

namespace admin {
namespace {

QString shown(const std::optional<QString>& text) {
    return text ? *text : QStringLiteral("(Null)");
}

int summary(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    const store::maintenance::Summary s = store::maintenance::summarize(*db);
    io.out << "messages: " << s.messages << "\n";
    io.out << "unread: " << s.unread << "\n";
    if (!s.unreadByAddressee.empty()) {
        io.out << "unread per addressee (宛名):\n";
        for (const auto& [name, count] : s.unreadByAddressee) {
            io.out << "  " << count << "\t" << shown(name) << "\n";
        }
    }
    if (s.oldestUnread) {
        io.out << "oldest unread: ＮＯ " << s.oldestUnread->no << ", "
               << shown(s.oldestUnread->addressee) << ", " << shown(s.oldestUnread->receivedAt)
               << "\n";
    } else {
        io.out << "oldest unread: none\n";
    }
    return 0;
}

}  // namespace

const Command kSummaryCommand{
    "summary",
    "summary DATAFILE\n"
    "    Count the messages: in total, unread in total, unread per addressee (most first),\n"
    "    and name the oldest unread message (ＮＯ, 宛名, 受付日時). Changes nothing; the\n"
    "    figures are read as one picture. DATAFILE may be a database server's URI.\n",
    summary};

}  // namespace admin
