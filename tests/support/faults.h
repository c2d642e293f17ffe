#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Faults of the file system under the data file, and what the tests check afterwards.
namespace testing_support {

// A small file system of its own (tmpfs) in a temporary folder, to run out of space on
// purpose. Mounting needs root (CAP_SYS_ADMIN); mounted() tells whether it worked.
class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Why it could not be mounted.
    const QString& why() const { return why_; }
    QString path(const QString& name) const;

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString why_;
};

// Attributes of a file or folder that bind even root.
enum class Attribute {
    // Nobody can write the file, or create, rename or remove files in the folder; a handle
    // opened for writing before stops writing too.
    Immutable,
    // Files in the folder can be created and written, but not removed or renamed.
    AppendOnly,
};

// Sets or clears the attribute. False (and why) when this system cannot do it.
bool setAttribute(const QString& path, Attribute attribute, bool on, QString* why = nullptr);

// An attribute for a scope.
class FileAttribute {
public:
    FileAttribute(QString path, Attribute attribute)
        : path_(std::move(path)), attribute_(attribute) {
        set_ = setAttribute(path_, attribute_, true, &why_);
    }
    ~FileAttribute() { release(); }
    FileAttribute(const FileAttribute&) = delete;
    FileAttribute& operator=(const FileAttribute&) = delete;
    bool set() const { return set_; }
    const QString& why() const { return why_; }
    void release() {
        if (set_) {
            setAttribute(path_, attribute_, false);
            set_ = false;
        }
    }

private:
    QString path_;
    Attribute attribute_;
    bool set_ = false;
    QString why_;
};

// The whole content of a file (empty when it cannot be read).
QByteArray fileBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// The engine's quick check of a data file, opened as the program opens it: "ok" when sound,
// otherwise what is wrong (or why the file did not open). For a server's data: the check of
// its table.
QString quickCheck(const QString& dataPath);

// Every message's token (the first word of its メモ, as the workstation driver writes it)
// with the ＮＯ of each row that holds it, from a fresh open of the data (file or server).
QMultiMap<QString, qint64> tokenRows(const QString& dataPath);

// The lines of a text file (none when it does not exist).
QStringList readLines(const QString& path);

// The rollback journal beside a data file.
QString journalPath(const QString& dataPath);

// What the rollback journal beside a data file says.
enum class JournalState {
    None,   // no journal
    Stale,  // a journal whose header was never completed: the data file was not touched yet,
            // so the engine ignores it (and reuses it for the next write)
    Hot,    // a complete journal: the next access must roll the data file back with it
};
JournalState journalState(const QString& dataPath);

}  // namespace testing_support
