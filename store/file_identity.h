#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace store {

// Which file a path names right now. A data file that is removed, renamed or replaced while
// the program has it open would otherwise go on being read and written through the old,
// orphaned file: writes would be lost without any error.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    bool operator==(const FileIdentity&) const = default;
};

// nullopt when the path names no file (or cannot be examined).
std::optional<FileIdentity> identityOf(const QString& path);

}  // namespace store
