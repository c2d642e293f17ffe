#include "support/faults.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "store/database.h"
#include "store/error.h"
#include "store/file/file_database.h"
#include "store/location.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "support/files.h"

namespace testing_support {

namespace {

// The folder names of small disks carry their process's number, so that the mount of a test
// process that died before it could unmount is found and removed by the next one.
QString smallDiskPrefix() {
    return QDir::tempPath() + QStringLiteral("/dulvane-small-disk-");
}

void removeOrphanedSmallDisks() {
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly)) {
        return;
    }
    for (const QByteArray& line : mounts.readAll().split('\n')) {
        const QString point = QString::fromLocal8Bit(line.split(' ').value(1));
        if (!point.startsWith(smallDiskPrefix())) {
            continue;
        }
        const QString pid = point.mid(smallDiskPrefix().size()).section(u'-', 0, 0);
        if (!QFileInfo::exists(QStringLiteral("/proc/") + pid)) {
            ::umount2(QFile::encodeName(point).constData(), MNT_DETACH);
            QDir().rmdir(point);
        }
    }
}

}  // namespace

SmallDisk::SmallDisk(qint64 bytes)
    : dir_(smallDiskPrefix() + QString::number(QCoreApplication::applicationPid()) +
           QStringLiteral("-XXXXXX")) {
    removeOrphanedSmallDisks();
    if (!dir_.isValid()) {
        why_ = QStringLiteral("no temporary folder");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    if (::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs", 0,
                options.constData()) != 0) {
        why_ = QStringLiteral(
                   "cannot mount a small tmpfs here (%1); needs root with "
                   "CAP_SYS_ADMIN")
                   .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
    }
}

QString SmallDisk::path(const QString& name) const {
    return dir_.filePath(name);
}

bool setAttribute(const QString& path, Attribute attribute, bool on, QString* why) {
    const int flag = attribute == Attribute::Immutable ? FS_IMMUTABLE_FL : FS_APPEND_FL;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        if (why) {
            *why = QStringLiteral("cannot open %1").arg(path);
        }
        return false;
    }
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | flag) : (flags & ~flag);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    if (!ok && why) {
        *why = QStringLiteral(
                   "cannot set the %1 attribute (%2): it needs "
                   "CAP_LINUX_IMMUTABLE and a file system that has it")
                   .arg(attribute == Attribute::Immutable ? QStringLiteral("immutable")
                                                          : QStringLiteral("append-only"))
                   .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ::close(fd);
    return ok;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(bytes);
    }
}

QString quickCheck(const QString& dataPath) {
    if (store::isServerLocation(dataPath)) {
        // The server keeps its own pages sound; what can be checked is the table.
        const QStringList problems = store::schema::checkFile(dataPath);
        return problems.isEmpty() ? QStringLiteral("ok") : problems.join(u'\n');
    }
    try {
        store::Workspace ws{std::chrono::milliseconds(5000)};
        auto db = ws.openFile(dataPath, store::memo::tableName(), store::memo::requiredColumns());
        store::file::Recordset rs = db->openRecordset(QStringLiteral("PRAGMA quick_check"));
        QStringList lines;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            lines << rs.field(0).value();
        }
        return lines.join(u'\n');
    } catch (const store::Error& e) {
        return e.report();
    }
}

QMultiMap<QString, qint64> tokenRows(const QString& dataPath) {
    store::Workspace ws{std::chrono::milliseconds(5000)};
    auto db = ws.openDatabase(dataPath, store::memo::tableName(), store::memo::requiredColumns());
    QMultiMap<QString, qint64> out;
    for (const auto& m : store::maintenance::everyMessage(*db)) {
        out.insert(m.texts[3].value_or(QString()).section(u' ', 0, 0), m.no.value());
    }
    return out;
}

QStringList readLines(const QString& path) {
    return QString::fromUtf8(fileBytes(path)).split(u'\n', Qt::SkipEmptyParts);
}

QString journalPath(const QString& dataPath) {
    return dataPath + QStringLiteral("-journal");
}

JournalState journalState(const QString& dataPath) {
    QFile f(journalPath(dataPath));
    if (!f.exists()) {
        return JournalState::None;
    }
    // The engine writes this header magic only once the journal's contents are safely on disk.
    static const QByteArray magic = QByteArray::fromHex("d9d505f920a163d7");
    return f.open(QIODevice::ReadOnly) && f.read(8) == magic ? JournalState::Hot
                                                             : JournalState::Stale;
}

}  // namespace testing_support
