#include "app/platform.h"

#include <QDir>
#include <QStandardPaths>
#include <QtGlobal>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace app::platform {

QString stateFolder() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
#else
    // Qt has no location for the XDG state folder: the base directory rules apply, so a
    // relative $XDG_STATE_HOME is ignored.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(base + QStringLiteral("/dulvane"));
#endif
}

void useOneHeap() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}

}  // namespace app::platform
