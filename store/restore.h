#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "store/restore_outcome.h"
#include "store/workspace.h"

// Putting a data file back from a backup, for dulvane-admin restore.
namespace store::maintenance {

using store::RestoreOutcome;
using store::UnreadableDataFile;

// Puts the data file at backupPath back at dataPath, while workstations may have dataPath open:
// - refuses data an engine cannot put back from a copy of its pages (a server's, which its own
//   tools restore), with that engine's advice, and a backup that is not a sound data file with
//   MEMO_T or whose table does not number automatically;
// - copies the backup through the engine's online backup into a new file in dataPath's folder,
//   with the replaced file's permission bits and group (a new data file: read-write for owner
//   and group);
// - moves the copy's numbering on past the highest number either file ever handed out, so that
//   no number handed out since the backup is handed out again, and checks it;
// - holding the replaced file's lock, so that no workstation is half way through a write, puts
//   the copy in its place in one step: every workstation opens either the old file or the new.
// A file at dataPath that is not a data file is refused (UnreadableDataFile) unless
// replaceUnreadable; numbering then goes on after the backup's own highest number, as when no
// file is there. Throws store::Error; dataPath is then as it was.
RestoreOutcome restoreBackup(const QString& backupPath, const QString& dataPath,
                             bool replaceUnreadable, const Workspace& workspace = Workspace{},
                             const std::function<void(std::int64_t, std::int64_t)>& progress = {});

}  // namespace store::maintenance
