// The one place that asks the operating system about a file itself: which file a path names,
// its group, and replacing it.
#include "store/file_identity.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "store/error.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace store {

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
        throw Error(SQLITE_IOERR, QStringLiteral("%1 を %2 に置き換えられません: %3")
                                      .arg(from, to, QString::fromStdString(error.message())));
    }
}

}  // namespace store
