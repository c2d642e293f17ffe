#pragma once

#include <cstdint>

#include "store/error.h"

namespace store {

// The data file a restore would replace is there but cannot be read as a data file, so the
// numbers it handed out are unknown.
class UnreadableDataFile : public Error {
public:
    explicit UnreadableDataFile(const Error& why) : Error(why) {}
};

// What a restore did (see store::maintenance::restoreBackup).
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

}  // namespace store
