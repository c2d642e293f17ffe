#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "store/database.h"
#include "store/error.h"

// Putting a data file back from a backup, for dulvane-admin restore.
namespace store::maintenance {

// The data file a restore would replace is there but cannot be read as a data file, so the
// numbers it handed out are unknown.
class UnreadableDataFile : public Error {
public:
    explicit UnreadableDataFile(const Error& why) : Error(why) {}
};

struct RestoreOutcome {
    enum class Replaced {
        DataFile,    // the data file that was there
        Nothing,     // no file was at the path
        Unreadable,  // a file that could not be read as a data file (only when allowed)
    };
    Replaced replaced = Replaced::DataFile;
    // The highest number the backup and the replaced data file ever handed out (0 for none).
    std::int64_t backupHighest = 0;
    std::int64_t dataFileHighest = 0;
    // The number the next message gets.
    std::int64_t nextNumber = 0;
    // Whether the restored file got the replaced one's permission bits and group in full.
    bool accessKept = true;
    std::int64_t pages = 0;
};

// Puts the data file at backupPath back at dataPath, while workstations may have dataPath open:
// - refuses a server's URI (the server's own tools restore its data), and a backup that is not
//   a sound data file with MEMO_T or whose table does not number automatically;
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
