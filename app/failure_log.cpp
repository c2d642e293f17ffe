#include "app/failure_log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/platform.h"
#include "store/error.h"
#include "store/location.h"

namespace app {
namespace {

// One field of a line: tabs and line breaks would split it, so control characters become
// spaces (a line break) or U+FFFD (anything else).
QString field(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            c = u' ';
        } else if (c.category() == QChar::Other_Control) {
            c = QChar::ReplacementCharacter;
        }
    }
    return out;
}

void rotateIfFull(const QString& logPath, qint64 limit) {
    const QFileInfo info(logPath);
    if (!info.exists() || info.size() < limit) {
        return;
    }
    const QString previous = logPath + QStringLiteral(".1");
    QFile::remove(previous);
    QFile::rename(logPath, previous);
}

}  // namespace

QString failureLogPath() {
    return QDir(platform::stateFolder()).filePath(QStringLiteral("dulvane.log"));
}

void logEntry(const QString& logPath, const QString& operation, const QString& location,
              const QString& code, const QString& text, qint64 limit) noexcept {
    if (logPath.isEmpty()) {
        return;
    }
    try {
        // Local time with its offset from UTC, so that lines across a clock change still sort.
        const QDateTime now = QDateTime::currentDateTime();
        const QStringList fields = {
            now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate),
            field(operation),
            field(store::maskedLocation(location)),
            code.isEmpty() ? QStringLiteral("-") : field(code),
            field(text),
        };
        QDir().mkpath(QFileInfo(logPath).path());
        rotateIfFull(logPath, limit);
        QFile file(logPath);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            file.write((fields.join(u'\t') + u'\n').toUtf8());
        }
    } catch (...) {
        // Nothing the log could do about it, and nothing the user should see.
    }
}

void logFailure(const QString& logPath, const QString& operation, const QString& location,
                const std::exception& failure, qint64 limit) noexcept {
    try {
        if (const auto* engine = dynamic_cast<const store::Error*>(&failure)) {
            logEntry(logPath, operation, location, engine->engineCode(), engine->message(), limit);
        } else {
            logEntry(logPath, operation, location, QString(),
                     QString::fromLocal8Bit(failure.what()), limit);
        }
    } catch (...) {
    }
}

}  // namespace app
