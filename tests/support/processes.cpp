#include "support/processes.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdlib>
#include <random>

namespace testing_support {

namespace posix {
void kill(qint64 pid) {
    ::kill(pid_t(pid), SIGKILL);
}
void stop(qint64 pid) {
    ::kill(pid_t(pid), SIGSTOP);
}
void resume(qint64 pid) {
    ::kill(pid_t(pid), SIGCONT);
}
}  // namespace posix

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

// Runs in the child between fork and exec: only calls that are safe there.
void applySetup(const ChildSetup& setup) {
    if (setup.fileSizeLimit) {
        ::signal(SIGXFSZ, SIG_IGN);  // an ignored signal stays ignored across exec
        struct rlimit limit {};
        limit.rlim_cur = rlim_t(*setup.fileSizeLimit);
        limit.rlim_max = rlim_t(*setup.fileSizeLimit);
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(125);
        }
    }
    if (setup.asNobody) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNogroup) != 0 || ::setuid(kNobody) != 0) {
            ::_exit(125);
        }
    }
}

void parseReport(DriverReport& r) {
    for (const QByteArray& raw : r.out.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.startsWith(QLatin1String("failure: "))) {
            FailureLine f;
            // "failure: op=.. stage=.. kind=.. code=.. count=.. text=REST OF LINE"
            const qsizetype textAt = line.indexOf(QLatin1String(" text="));
            const QString head = line.mid(9, textAt < 0 ? -1 : textAt - 9);
            for (const QString& kv : head.split(u' ', Qt::SkipEmptyParts)) {
                const QString key = kv.section(u'=', 0, 0);
                const QString value = kv.section(u'=', 1);
                if (key == QLatin1String("op")) {
                    f.op = value;
                } else if (key == QLatin1String("stage")) {
                    f.stage = value;
                } else if (key == QLatin1String("kind")) {
                    f.kind = value;
                } else if (key == QLatin1String("code")) {
                    f.code = value.toInt();
                } else if (key == QLatin1String("count")) {
                    f.count = value.toLongLong();
                }
            }
            f.text = textAt < 0 ? QString() : line.mid(textAt + 6);
            r.failures << f;
            continue;
        }
        QMap<QString, QString> fields;
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        for (const QString& kv : words) {
            if (kv.contains(u'=')) {
                fields[kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
            }
        }
        if (line.startsWith(QLatin1String("op="))) {
            OpFigures o;
            o.count = fields.value(QStringLiteral("count")).toLongLong();
            o.failures = fields.value(QStringLiteral("failures")).toLongLong();
            o.p50Ms = fields.value(QStringLiteral("p50_ms")).toDouble();
            o.p99Ms = fields.value(QStringLiteral("p99_ms")).toDouble();
            o.maxMs = fields.value(QStringLiteral("max_ms")).toDouble();
            o.fields = fields;
            r.ops[fields.value(QStringLiteral("op"))] = o;
        } else if (line.startsWith(QLatin1String("total "))) {
            r.total = fields;
        } else if (line.startsWith(QLatin1String("ready "))) {
            r.run = fields.value(QStringLiteral("run"));
        }
    }
    if (r.run.isEmpty()) {
        r.run = r.total.value(QStringLiteral("run"));
    }
}

}  // namespace

qint64 DriverReport::failureCount(const QString& op, const QString& stage) const {
    qint64 n = 0;
    for (const FailureLine& f : failures) {
        if ((op.isEmpty() || f.op == op) && (stage.isEmpty() || f.stage == stage)) {
            n += f.count;
        }
    }
    return n;
}

std::string DriverReport::text() const {
    return "exit " + std::to_string(exitCode) + (exitedNormally ? "" : " (crashed or killed)") +
           "\n--- stdout\n" + out.toStdString() + "--- stderr\n" + err.toStdString();
}

QString driverPath() {
    return QStringLiteral(DRIVER_PATH);
}

Driver::Driver(const QStringList& args, const ChildSetup& setup) {
    process_.setProgram(driverPath());
    process_.setArguments(args);
    if (setup.fileSizeLimit || setup.asNobody) {
        process_.setChildProcessModifier([setup] { applySetup(setup); });
    }
    process_.start();
}

Driver::~Driver() {
    if (process_.state() != QProcess::NotRunning) {
        posix::resume(pid());
        process_.kill();
        process_.waitForFinished(10000);
    }
}

bool Driver::waitReady(int ms) {
    QElapsedTimer timer;
    timer.start();
    if (!process_.waitForStarted(ms)) {
        return false;
    }
    while (!out_.contains("ready ")) {
        const int left = ms - int(timer.elapsed());
        if (left <= 0 || process_.state() == QProcess::NotRunning) {
            out_ += process_.readAllStandardOutput();
            return out_.contains("ready ");
        }
        process_.waitForReadyRead(left);
        out_ += process_.readAllStandardOutput();
    }
    return true;
}

DriverReport Driver::finish(int ms) {
    DriverReport r;
    process_.waitForFinished(ms);
    out_ += process_.readAllStandardOutput();
    r.out = out_;
    r.err = process_.readAllStandardError();
    r.exitedNormally =
        process_.state() == QProcess::NotRunning && process_.exitStatus() == QProcess::NormalExit;
    r.exitCode = r.exitedNormally ? process_.exitCode() : -1;
    parseReport(r);
    return r;
}

namespace {

// Whether the process owns a write lock on the byte the engine locks while a write
// transaction is open (RESERVED) or while it commits (PENDING), as the kernel lists it.
bool holdsWriteLock(qint64 pid) {
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) {
        return false;
    }
    // "1: POSIX  ADVISORY  WRITE 1234 fd:01:5678 1073741825 1073741825"; waiting requests
    // carry "->" and are skipped.
    const QByteArray pending = QByteArray::number(0x40000000);
    const QByteArray reserved = QByteArray::number(0x40000001);
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() >= 8 && f[1] == "POSIX" && f[3] == "WRITE" &&
            f[4] == QByteArray::number(pid) && (f[6] == pending || f[6] == reserved)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int stopWhileWriting(Driver& driver, unsigned seed, int maxStops) {
    std::mt19937 random(seed);
    for (int stops = 1; stops <= maxStops; ++stops) {
        QThread::usleep(std::uniform_int_distribution<unsigned long>(0, 4000)(random));
        posix::stop(driver.pid());
        if (holdsWriteLock(driver.pid())) {
            return stops;
        }
        posix::resume(driver.pid());
    }
    return -1;
}

DriverReport runDriver(const QStringList& args, const ChildSetup& setup, int ms) {
    Driver d(args, setup);
    return d.finish(ms);
}

int envCount(const char* name, int fallback) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return fallback;
    }
    const int n = std::atoi(value);
    return n > 0 ? n : fallback;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

}  // namespace testing_support
