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

// Gives the file at to the permission bits of the file at from and, where files have an owning
// group, that group too. False when some of it could not be given (to may then lack access
// that from grants).
bool copyAccess(const QString& from, const QString& to);

// Replaces the file at to with the file at from in one step: whoever opens to afterwards finds
// either the old file or the new one, never half a file. Throws store::Error.
void replaceFile(const QString& from, const QString& to);

}  // namespace store
