// The one place that asks the operating system about a file itself: which file a path names,
// what this user may do with it, its group, and replacing it.
#include "store/file/file_identity.h"
#include "store/file/engine_error.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "store/error.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace store::file {

std::optional<FileIdentity> identityOf(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
#else
    // Elsewhere the creation time stands in for the file's number.
    const QFileInfo info(path);
    if (!info.exists()) {
        return std::nullopt;
    }
    return FileIdentity{0, std::uint64_t(info.birthTime().toMSecsSinceEpoch())};
#endif
}

#ifdef Q_OS_UNIX
namespace {

// errno of asking whether this user (by the effective ids) may use path as mode; 0 when so.
int refusal(const QString& path, int mode) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), mode, AT_EACCESS) == 0
               ? 0
               : errno;
}

// The first folder from the top of the path's absolute form that may not be entered.
QString unsearchableFolder(const QString& path) {
    const QString absolute = QFileInfo(path).absolutePath();
    const QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    QString folder = QStringLiteral("/");
    for (const QString& part : parts) {
        if (refusal(folder, X_OK) == EACCES) {
            return folder;
        }
        folder = QDir(folder).filePath(part);
    }
    return refusal(folder, X_OK) == EACCES ? folder : QString();
}

}  // namespace

PathCheck checkPath(const QString& path, bool forWriting) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == EACCES) {
            return {PathProblem::FolderNotSearchable, unsearchableFolder(path)};
        }
        return {PathProblem::Missing, path};
    }
    if (S_ISDIR(st.st_mode)) {
        return {};
    }
    if (refusal(path, R_OK) != 0) {
        return {PathProblem::FileNotReadable, path};
    }
    if (!forWriting) {
        return {};
    }
    if (const int e = refusal(path, W_OK); e != 0) {
        return {e == EROFS ? PathProblem::ReadOnlyFileSystem : PathProblem::FileNotWritable, path};
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (const int e = refusal(folder, W_OK | X_OK); e != 0) {
        return {e == EROFS ? PathProblem::ReadOnlyFileSystem : PathProblem::FolderNotWritable,
                folder};
    }
    return {};
}
#else
PathCheck checkPath(const QString& path, bool forWriting) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {PathProblem::Missing, path};
    }
    if (info.isDir()) {
        return {};
    }
    if (!info.isReadable()) {
        return {PathProblem::FileNotReadable, path};
    }
    if (forWriting && !info.isWritable()) {
        return {PathProblem::FileNotWritable, path};
    }
    return {};
}
#endif

bool copyAccess(const QString& from, const QString& to) {
    bool all = true;
#ifdef Q_OS_UNIX
    // The group first: a change of group may take bits away that the permissions then give.
    struct stat st {};
    all = ::stat(QFile::encodeName(from).constData(), &st) == 0 &&
          ::chown(QFile::encodeName(to).constData(), uid_t(-1), st.st_gid) == 0;
#endif
    return QFile::setPermissions(to, QFile::permissions(from)) && all;
}

void replaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    if (error) {
        throw engineError(SQLITE_IOERR,
                          QStringLiteral("%1 を %2 に置き換えられません: %3")
                              .arg(from, to, QString::fromStdString(error.message())));
    }
}

}  // namespace store::file
