// The one place that asks the operating system which file a path names.
#include "store/file_identity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
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

}  // namespace store
