// restore BACKUP DATAFILE
#include "store/restore.h"
#include "tools/admin/cli.h"
#include "tools/admin/terminal.h"

namespace admin {
namespace {

const QString kReplaceUnreadable = QStringLiteral("--replace-unreadable");

int restore(const QStringList& args, Io& io) {
    const Arguments a(args, {kReplaceUnreadable}, {}, 2);
    using Outcome = store::maintenance::RestoreOutcome;
    Progress progress(QStringLiteral("restore"), 0);
    Outcome r;
    try {
        r = store::maintenance::restoreBackup(a[0], a[1], a.flag(kReplaceUnreadable),
                                              store::Workspace{},
                                              [&](std::int64_t done, std::int64_t total) {
                                                  progress.setTotal(total);
                                                  progress.update(done);
                                              });
    } catch (const store::maintenance::UnreadableDataFile& e) {
        throw Failure(e.report() +
                      QStringLiteral("\nTo replace it all the same, keep a copy of it and run "
                                     "the command again with %1; numbering then goes on after "
                                     "the backup's own highest number only.")
                          .arg(kReplaceUnreadable));
    }
    progress.finish();
    io.out << "restored " << a[0] << " over " << a[1] << " (" << r.pages << " pages)\n";
    switch (r.replaced) {
        case Outcome::Replaced::DataFile:
            io.out << "highest number ever handed out: " << r.backupHighest << " in the backup, "
                   << r.dataFileHighest << " in the replaced data file\n";
            break;
        case Outcome::Replaced::Nothing:
            io.out << a[1] << " was missing: numbering goes on after the backup's own highest "
                   << "number (" << r.backupHighest << "); numbers handed out after the backup "
                   << "was taken may be handed out again\n";
            break;
        case Outcome::Replaced::Unreadable:
            io.out << a[1] << " could not be read as a data file and was replaced: numbering "
                   << "goes on after the backup's own highest number (" << r.backupHighest << ")\n";
            break;
    }
    if (r.replaced == Outcome::Replaced::Nothing) {
        io.out << "new file: read-write for its owner and group\n";
    } else if (!r.accessKept) {
        io.err << "warning: could not give " << a[1]
               << " the replaced file's permissions and group; check them (chgrp, chmod)\n";
    }
    io.out << "the next message gets ＮＯ " << r.nextNumber << "\n";
    return 0;
}

}  // namespace

const Command kRestoreCommand{
    "restore",
    "restore BACKUP DATAFILE [--replace-unreadable]\n"
    "    Put a backup (see backup) back as the office's data file, while workstations may\n"
    "    have it open: they go on with the restored file at their next operation. BACKUP is\n"
    "    checked first (a sound data file with MEMO_T); it is copied page by page into a new\n"
    "    file beside DATAFILE with DATAFILE's permissions and group, whose numbering goes on\n"
    "    after the highest number either file ever handed out, so that a number handed out\n"
    "    since the backup is never handed out again; then, while no workstation writes, the\n"
    "    copy replaces DATAFILE in one step. Messages received since the backup are lost.\n"
    "    A missing DATAFILE is restored all the same (numbering then goes on after the\n"
    "    backup's own highest number); a DATAFILE that cannot be read as a data file is\n"
    "    refused unless --replace-unreadable is given. Not for a database server's data:\n"
    "    restore a pg_dump with pg_restore, or copy a data file into a newly made table.\n",
    restore};

}  // namespace admin
