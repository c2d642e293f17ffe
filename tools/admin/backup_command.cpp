// backup DATAFILE COPY
#include <QFileInfo>

#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "store/workspace.h"
#include "tools/admin/argument_order.h"
#include "tools/admin/cli.h"
#include "tools/admin/new_file.h"
#include "tools/admin/terminal.h"

namespace admin {
namespace {

int backup(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 2);
    store::Workspace ws;
    // A server's data is saved by the server's own tools.
    if (!ws.database(a[0])->capabilities().onlineBackup) {
        throw Failure(Text::tr("%1 is a database server's data, which cannot be copied page by "
                               "page: back it up with the server's own pg_dump (and restore it "
                               "with pg_restore), or take a data file of the moment with "
                               "dulvane-admin copy URI NEW.mdb")
                          .arg(store::maskedLocation(a[0])));
    }
    checkBackupCopy(a[0], a[1]);
    NewFile copy(a[1]);  // refuses an existing file; nothing is left under its name on failure
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    // The engine writes the copy through its own handle.
    copy.file().close();
    Progress progress(QStringLiteral("backup"), 0);
    std::int64_t pages = 0;
    store::maintenance::backupTo(*db, copy.temporaryPath(),
                                 [&](std::int64_t done, std::int64_t total) {
                                     progress.setTotal(total);
                                     progress.update(done);
                                     pages = total;
                                 });
    progress.finish();
    copy.commit(QFileInfo(a[0]).permissions());
    io.out << Text::tr("copied %1 to %2 (%3 pages)").arg(a[0], a[1]).arg(pages) << "\n";
    return 0;
}

}  // namespace

const Command kBackupCommand{
    "backup",
    QT_TRANSLATE_NOOP(
        "admin",
        "backup DATAFILE COPY\n"
        "    Make a consistent copy of a data file while workstations go on using it,\n"
        "    page by page through the database engine's online backup (waiting while\n"
        "    another workstation writes), never as a plain file copy. The copy is a\n"
        "    sound data file the program opens. COPY is the new file's name (e.g.\n"
        "    /srv/backup/dulvane-20260410.mdb), not a folder. Refuses to overwrite\n"
        "    COPY; when the copy fails nothing is left under its name. Not for a\n"
        "    database server's data: back that up with the server's pg_dump (and\n"
        "    pg_restore), or take a data file of the moment with copy URI NEW.mdb.\n"),
    backup};

}  // namespace admin
