#include "app/notices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

QString noticesPath(const QString& logPath) {
    if (logPath.isEmpty()) {
        return {};
    }
    return QFileInfo(logPath).dir().filePath(QStringLiteral("dulvane.notices"));
}

bool firstNotice(const QString& logPath, const QString& key) noexcept {
    try {
        const QString path = noticesPath(logPath);
        if (path.isEmpty()) {
            return true;
        }
        // One notice a line: a key holding a line break is kept on one line.
        const QByteArray line = QString(key).replace(u'\n', u' ').toUtf8();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            while (!file.atEnd()) {
                if (file.readLine().trimmed() == line) {
                    return false;
                }
            }
            file.close();
        }
        QDir().mkpath(QFileInfo(path).path());
        if (file.open(QIODevice::Append)) {
            file.write(line + '\n');
        }
    } catch (...) {
        // A record that cannot be kept: the notice is given.
    }
    return true;
}

}  // namespace app
