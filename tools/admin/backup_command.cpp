// backup DATAFILE COPY
#include <QFileInfo>

#include "store/maintenance.h"
#include "store/memo_table.h"
#include "store/workspace.h"
#include "tools/admin/cli.h"
#include "tools/admin/new_file.h"
#include "tools/admin/terminal.h"

namespace admin {
namespace {

int backup(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 2);
    store::Workspace ws;
    // A server's data is saved by the server's own tools: its engine says which.
    const store::Capabilities engine = ws.database(a[0])->capabilities();
    if (!engine.onlineBackup) {
        throw Failure(engine.backupAdvice);
    }
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
    io.out << "copied " << a[0] << " to " << a[1] << " (" << pages << " pages)\n";
    return 0;
}

}  // namespace

const Command kBackupCommand{
    "backup",
    "backup DATAFILE COPY\n"
    "    Make a consistent copy of a data file while workstations go on using it, page by\n"
    "    page through the database engine's online backup (waiting while another workstation\n"
    "    writes), never as a plain file copy. The copy is a sound data file the program opens.\n"
    "    Refuses to overwrite COPY; when the copy fails nothing is left under its name.\n"
    "    Not for a database server's data: back that up with the server's pg_dump (and\n"
    "    pg_restore), or take a data file of the moment with copy URI NEW.mdb.\n",
    backup};

}  // namespace admin
