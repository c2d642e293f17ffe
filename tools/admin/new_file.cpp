#include "tools/admin/new_file.h"

#include <QDir>
#include <QFileInfo>

#include "tools/admin/cli.h"

namespace admin {

NewFile::NewFile(const QString& path) : path_(path) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        throw Failure(Text::tr("%1 exists already; it is never overwritten").arg(path));
    }
    temp_.setFileTemplate(info.dir().filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!temp_.open()) {
        throw Failure(
            Text::tr("cannot make a file in %1: %2").arg(info.dir().path(), temp_.errorString()));
    }
}

void NewFile::commit(QFileDevice::Permissions permissions) {
    // The temporary file may be closed already (when the engine wrote it through its own handle).
    if (temp_.isOpen() && !temp_.flush()) {
        throw Failure(Text::tr("cannot write %1: %2").arg(path_, temp_.errorString()));
    }
    temp_.close();
    temp_.setPermissions(permissions);
    // The rename refuses an existing name, so a file made meanwhile is kept.
    const QString temporary = temp_.fileName();
    if (!temp_.rename(path_)) {
        QFile::remove(temporary);
        throw Failure(Text::tr("cannot create %1: %2").arg(path_, temp_.errorString()));
    }
    temp_.setAutoRemove(false);
}

QFileDevice::Permissions sharedReadable() {
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
           QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
}

}  // namespace admin
