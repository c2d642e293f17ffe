#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace store::file {

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

// Why the file system keeps this user from using the file at a path, as far as it tells.
enum class PathProblem {
    None,
    Missing,              // nothing at the path, and its folders may be searched
    FolderNotSearchable,  // a folder on the way may not be entered
    FileNotReadable,      // the file may not be read
    FileNotWritable,      // the file may be read but not written (its permissions, an attribute)
    FolderNotWritable,    // no file may be made or removed in the file's folder
    ReadOnlyFileSystem,   // the file lies on a file system mounted read-only
};

struct PathCheck {
    PathProblem problem = PathProblem::None;
    // The file or folder that refuses (the path itself for a missing file).
    QString where;
};

// Looks at the path as this user may use it: to read, or also to write (which needs the file
// writable and its folder open for the engine's temporary files beside it).
PathCheck checkPath(const QString& path, bool forWriting);

// Gives the file at to the permission bits of the file at from and, where files have an owning
// group, that group too. False when some of it could not be given (to may then lack access
// that from grants).
bool copyAccess(const QString& from, const QString& to);

// Replaces the file at to with the file at from in one step: whoever opens to afterwards finds
// either the old file or the new one, never half a file. Throws store::Error.
void replaceFile(const QString& from, const QString& to);

}  // namespace store::file
