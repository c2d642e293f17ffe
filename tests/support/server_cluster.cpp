#include "support/server_cluster.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "support/processes.h"

namespace testing_support {
namespace {

// The process ids whose parent is pid, from /proc.
QList<qint64> childrenOf(qint64 pid) {
    QList<qint64> out;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool numeric = false;
        const qint64 child = entry.toLongLong(&numeric);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!numeric || !stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // "pid (name) state ppid ...": the name may hold spaces, the last ')' ends it.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest[1].toLongLong() == pid) {
            out << child;
        }
    }
    return out;
}

}  // namespace

ServerCluster::ServerCluster() {
    // The server runs as another user when the tests run as root: it must reach its folder.
    QFile::setPermissions(parent_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ExeGroup | QFile::ExeOther);
    dir_ = parent_.filePath(QStringLiteral("pg"));
    run(QStringLiteral("start"));
}

ServerCluster::~ServerCluster() {
    thaw();
    run(QStringLiteral("stop"));
}

QString ServerCluster::uri() const {
    return QStringLiteral("postgresql:///postgres?host=%1&user=postgres").arg(dir_);
}

qint64 ServerCluster::postmasterPid() const {
    QFile file(dir_ + QStringLiteral("/data/postmaster.pid"));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return file.readLine().trimmed().toLongLong();
}

bool ServerCluster::run(const QString& action) {
    QProcess p;
    p.setProgram(QStringLiteral("bash"));
    p.setArguments({QStringLiteral(PG_CLUSTER_PATH), action, dir_});
    p.start();
    const bool ended = p.waitForFinished(90000);
    const bool ok = ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    failure_ = ok ? QString()
                  : QStringLiteral("pg_cluster.sh %1: %2")
                        .arg(action, QString::fromLocal8Bit(p.readAllStandardError()));
    return ok;
}

void ServerCluster::kill() {
    if (const qint64 pid = postmasterPid(); pid > 0) {
        posix::kill(pid);
    }
}

void ServerCluster::freeze() {
    const qint64 pid = postmasterPid();
    if (pid <= 0) {
        return;
    }
    // The postmaster first, so that it starts no process after the list is read.
    posix::stop(pid);
    frozen_ << pid;
    for (qint64 child : childrenOf(pid)) {
        posix::stop(child);
        frozen_ << child;
    }
}

void ServerCluster::thaw() {
    for (qint64 pid : frozen_) {
        posix::resume(pid);
    }
    frozen_.clear();
}

bool ServerCluster::startAgain(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!run(QStringLiteral("start-again"))) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QThread::msleep(200);
    }
    return true;
}

bool ServerCluster::restart() {
    return run(QStringLiteral("restart"));
}

}  // namespace testing_support
