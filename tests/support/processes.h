#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

// Other workstations as real processes: the workstation driver, started with QProcess, and the
// signals the tests send it.
namespace testing_support {

// The only place the tests send signals to other processes.
namespace posix {
// SIGKILL: the process ends at once, in the middle of a write or not.
void kill(qint64 pid);
// SIGSTOP: the process freezes, holding whatever locks it holds.
void stop(qint64 pid);
// SIGCONT: a stopped process goes on.
void resume(qint64 pid);
}  // namespace posix

// What the child process does to itself before it runs the driver.
struct ChildSetup {
    // RLIMIT_FSIZE: no file may grow past this many bytes. SIGXFSZ is ignored, so a write
    // past the limit fails with an error instead of ending the process.
    std::optional<qint64> fileSizeLimit;
    // Runs as the unprivileged user nobody (the test runs as root): file permissions apply.
    bool asNobody = false;
};

// One operation kind's line of the driver's report.
struct OpFigures {
    qint64 count = 0;
    qint64 failures = 0;
    double p50Ms = 0;
    double p99Ms = 0;
    double maxMs = 0;
    QMap<QString, QString> fields;  // every key=value of the line
};

// One "failure:" line of the driver's report.
struct FailureLine {
    QString op;
    QString stage;
    QString kind;  // store::kindName of the failure's kind
    int code = 0;  // the data file engine's result code (0 for none, or a server's failure)
    qint64 count = 0;
    QString text;
};

struct DriverReport {
    int exitCode = -1;
    bool exitedNormally = false;
    QMap<QString, OpFigures> ops;
    QMap<QString, QString> total;
    QList<FailureLine> failures;
    QString run;  // the run tag that starts every token of this driver
    QByteArray out;
    QByteArray err;

    // Sum of the failure lines of op (every op when empty) at stage (every stage when empty).
    qint64 failureCount(const QString& op = {}, const QString& stage = {}) const;
    // The output, for failure messages.
    std::string text() const;
};

// The workstation driver program.
QString driverPath();

// A workstation driver process.
class Driver {
public:
    explicit Driver(const QStringList& args, const ChildSetup& setup = {});
    // Ends the process if it still runs.
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Waits for the "ready" line: the data file is open. False when the driver ended first.
    bool waitReady(int ms = 20000);
    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }
    // Asks the driver to end its loop early (SIGTERM through QProcess); it still reports.
    void terminate() { process_.terminate(); }
    // Waits for the end and reads the report.
    DriverReport finish(int ms = 120000);

private:
    QProcess process_;
    QByteArray out_;
};

// Stops the driver at random moments until a stop lands while it holds the data file's write
// lock (the kernel's list of locks names it as the owner). Returns the number of stops made,
// or -1 when none of maxStops landed inside a write; the driver is left running then.
int stopWhileWriting(Driver& driver, unsigned seed = 7, int maxStops = 2000);

// Starts a driver and waits for its report.
DriverReport runDriver(const QStringList& args, const ChildSetup& setup = {}, int ms = 120000);

// A count from the environment (for longer runs), or fallback.
int envCount(const char* name, int fallback);

// Whether the tests run as root (file permissions do not stop root).
bool runningAsRoot();

}  // namespace testing_support
