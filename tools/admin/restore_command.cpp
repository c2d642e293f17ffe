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
        throw Failure(e.report() + u'\n' +
                      Text::tr("To replace it all the same, keep a copy of it and run the "
                               "command again with %1; numbering then goes on after the "
                               "backup's own highest number only.")
                          .arg(kReplaceUnreadable));
    }
    progress.finish();
    io.out << Text::tr("restored %1 over %2 (%3 pages)").arg(a[0], a[1]).arg(r.pages) << "\n";
    switch (r.replaced) {
        case Outcome::Replaced::DataFile:
            io.out << Text::tr(
                          "highest number ever handed out: %1 in the backup, %2 in the "
                          "replaced data file")
                          .arg(r.backupHighest)
                          .arg(r.dataFileHighest)
                   << "\n";
            break;
        case Outcome::Replaced::Nothing:
            io.out << Text::tr(
                          "%1 was missing: numbering goes on after the backup's own "
                          "highest number (%2); numbers handed out after the backup was "
                          "taken may be handed out again")
                          .arg(a[1])
                          .arg(r.backupHighest)
                   << "\n";
            break;
        case Outcome::Replaced::Unreadable:
            io.out << Text::tr(
                          "%1 could not be read as a data file and was replaced: "
                          "numbering goes on after the backup's own highest number (%2)")
                          .arg(a[1])
                          .arg(r.backupHighest)
                   << "\n";
            break;
    }
    if (r.replaced == Outcome::Replaced::Nothing) {
        io.out << Text::tr("new file: read-write for its owner and group") << "\n";
    } else if (!r.accessKept) {
        io.err << Text::tr(
                      "warning: could not give %1 the replaced file's permissions and "
                      "group; check them (chgrp, chmod)")
                      .arg(a[1])
               << "\n";
    }
    io.out << Text::tr("the next message gets ＮＯ %1").arg(r.nextNumber) << "\n";
    return 0;
}

}  // namespace

const Command kRestoreCommand{
    "restore",
    QT_TRANSLATE_NOOP("admin",
                      "restore BACKUP DATAFILE [--replace-unreadable]\n"
                      "    Put a backup (see backup) back as the office's data file, while\n"
                      "    workstations may have it open: they go on with the restored file at\n"
                      "    their next operation. BACKUP is checked first (a sound data file with\n"
                      "    MEMO_T); it is copied page by page into a new file beside DATAFILE\n"
                      "    with DATAFILE's permissions and group, whose numbering goes on after\n"
                      "    the highest number either file ever handed out, so that a number\n"
                      "    handed out since the backup is never handed out again; then, while no\n"
                      "    workstation writes, the copy replaces DATAFILE in one step. Messages\n"
                      "    received since the backup are lost. A missing DATAFILE is restored all\n"
                      "    the same (numbering then goes on after the backup's own highest\n"
                      "    number); a DATAFILE that cannot be read as a data file is refused\n"
                      "    unless --replace-unreadable is given. Not for a database server's\n"
                      "    data: restore a pg_dump with pg_restore, or copy a data file into a\n"
                      "    newly made table.\n"),
    restore};

}  // namespace admin
