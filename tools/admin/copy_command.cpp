// copy SOURCE DESTINATION
#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/cli.h"
#include "tools/admin/terminal.h"

namespace admin {
namespace {

std::unique_ptr<store::Database> openMessages(const store::Workspace& ws, const QString& where) {
    return ws.openDatabase(where, store::memo::tableName(), store::memo::requiredColumns());
}

int copyMessages(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 2);
    store::Workspace ws;
    auto from = openMessages(ws, a[0]);
    auto to = openMessages(ws, a[1]);
    Progress progress(QStringLiteral("copy"), 0);
    const std::int64_t copied = store::maintenance::copyMessages(
        *from, *to, [&progress](std::int64_t done, std::int64_t total) {
            progress.setTotal(total);
            progress.update(done);
        });
    progress.finish();
    io.out << Text::tr("copied %1 messages from %2 to %3")
                  .arg(copied)
                  .arg(store::maskedLocation(a[0]), store::maskedLocation(a[1]))
           << "\n";
    return 0;
}

}  // namespace

const Command kCopyCommand{
    "copy",
    QT_TRANSLATE_NOOP(
        "admin",
        "copy SOURCE DESTINATION\n"
        "    Copy every message from one office's data to another: each of SOURCE and\n"
        "    DESTINATION is a data file or a database server's URI\n"
        "    (postgresql://HOST/DB, with the password in ~/.pgpass or a service file,\n"
        "    not in the URI), so the office moves from a shared file to a server and\n"
        "    back. Every message keeps its ＮＯ and every text exactly (Nulls stay\n"
        "    Null, empty texts stay empty); new messages in DESTINATION are numbered\n"
        "    after the highest number copied. The marks 至急 and 対応日時 go too:\n"
        "    when SOURCE has any and DESTINATION lacks their columns, nothing is\n"
        "    done (see upgrade).\n"
        "    DESTINATION must exist (see create-data), hold no message and never have\n"
        "    numbered one (a data file or server whose messages were deleted is\n"
        "    refused: its old numbers could come back), else nothing is done.\n"
        "    SOURCE is read as one consistent picture; DESTINATION gets all messages\n"
        "    or, on any failure, none. A URI's password is never shown.\n"),
    copyMessages};

}  // namespace admin
