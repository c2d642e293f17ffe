#include "app/version.h"

#include <sqlite3.h>

#include <QtGlobal>

namespace app {

QString releaseText() {
    return QStringLiteral(DULVANE_RELEASE);
}

QString versionText(const QString& programName) {
    return QStringLiteral("%1 %2\nSQLite %3\nQt %4\n")
        .arg(programName, releaseText(), QString::fromLatin1(sqlite3_libversion()),
             QString::fromLatin1(qVersion()));
}

}  // namespace app
