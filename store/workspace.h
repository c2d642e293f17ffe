#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

namespace store {

class Database;
namespace file {
class FileDatabase;
}

// Opens the places data is kept in. Whether a location is a database server's URI
// (postgresql:// or postgres://) or a data file's path is told here and nowhere else: one
// engine or the other is made for it, and everything above works on store::Database. Nothing
// is ever created by opening: a missing file is an error.
class Workspace {
public:
    // How long an operation waits for another workstation's lock before it fails.
    static constexpr std::chrono::milliseconds kDefaultBusyTimeout{10000};

    explicit Workspace(std::chrono::milliseconds busyTimeout = kDefaultBusyTimeout)
        : busyTimeout_(busyTimeout) {}

    std::chrono::milliseconds busyTimeout() const { return busyTimeout_; }

    // The office's messages at a location, not opened yet: for making, upgrading or checking
    // the table, or asking what its engine can do (see Database).
    std::unique_ptr<Database> database(const QString& location) const;

    // The same opened, and checked that it holds requiredTable with requiredColumns, so that a
    // missing file, a file that is not a database, a file held exclusively by another program,
    // a server that cannot be reached and data without the table all fail here.
    std::unique_ptr<Database> openDatabase(const QString& location, const QString& requiredTable,
                                           const QStringList& requiredColumns) const;

    // A database file opened as a file, with the file's own statements: the settings file,
    // which is always a file, and tests about data files.
    std::unique_ptr<file::FileDatabase> openFile(const QString& path, const QString& requiredTable,
                                                 const QStringList& requiredColumns) const;

private:
    std::chrono::milliseconds busyTimeout_;
};

// The engine's name and release, for the program's version text ("SQLite 3.45.1").
QString engineVersionText();

}  // namespace store
