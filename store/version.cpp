#include "store/version.h"

#include <QtGlobal>

#include "store/workspace.h"

namespace store {

QString releaseText() {
    return QStringLiteral(DULVANE_RELEASE);
}

QString versionText(const QString& programName) {
    return QStringLiteral("%1 %2\n%3\nQt %4\n")
        .arg(programName, releaseText(), engineVersionText(), QString::fromLatin1(qVersion()));
}

}  // namespace store
