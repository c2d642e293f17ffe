#include "tools/admin/argument_order.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "store/location.h"
#include "tools/admin/cli.h"

namespace admin {
namespace {

QByteArray firstBytes(const QString& path, qint64 count) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.read(count)
                                                                      : QByteArray();
}

// The engine writes this at the start of every database file.
bool holdsDatabase(const QString& path) {
    return firstBytes(path, 16) == QByteArrayView("SQLite format 3\0", 16);
}

// A name a CSV or text file has, or an existing file that reads as text (no NUL byte in its
// beginning) and is not a database.
bool looksLikeText(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("csv") || suffix == QLatin1String("txt") ||
        suffix == QLatin1String("tsv")) {
        return true;
    }
    const QByteArray start = firstBytes(path, 4096);
    return !start.isEmpty() && !start.contains('\0') && !holdsDatabase(path);
}

}  // namespace

void checkBackupCopy(const QString& dataFile, const QString& copy) {
    if (!QFileInfo(copy).isDir()) {
        return;
    }
    const QString example = QDir(copy).filePath(
        QStringLiteral("dulvane-%1.mdb").arg(QDate::currentDate().toString(u"yyyyMMdd")));
    throw UsageError(Text::tr("COPY %1 is a folder: COPY is the new file to make, e.g. "
                              "dulvane-admin backup %2 %3")
                         .arg(copy, dataFile, example));
}

void checkDataFileAndCsv(const QString& command, const QString& csvForm, const QString& dataFile,
                         const QString& csv) {
    const QString form = QStringLiteral("dulvane-admin %1 DATAFILE %2").arg(command, csvForm);
    if (!store::isServerLocation(dataFile) && looksLikeText(dataFile)) {
        throw UsageError(Text::tr("%1 stands where the data file goes, but it is a CSV or text "
                                  "file: the data file comes first, then the CSV file (%2)")
                             .arg(dataFile, form));
    }
    if (holdsDatabase(csv)) {
        throw UsageError(Text::tr("%1 stands where the CSV file goes, but it is a data file: the "
                                  "data file comes first, then the CSV file (%2)")
                             .arg(csv, form));
    }
}

}  // namespace admin
