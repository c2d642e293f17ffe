#pragma once

#include <QString>
#include <optional>

#include "store/error.h"

namespace store::file {

// The failure that tells why the file system keeps this user from using the data file at path
// (to read, or also to write), naming the file or folder that refuses; nullopt when it does
// not refuse. Each cause has its own kind, code and words, so that the log and the
// administrator can tell a missing file, a folder or file without permission, a read-only file
// and a read-only file system apart.
std::optional<Error> fileProblem(const QString& path, bool forWriting);

// A failure the engine reported about the file at path, told more exactly when the file
// system explains it (the engine says "unable to open database file" for most of the causes
// above); otherwise the engine's own failure.
Error explained(const Error& engine, const QString& path, bool forWriting);

}  // namespace store::file
