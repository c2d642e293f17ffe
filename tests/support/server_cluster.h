#pragma once

#include <QList>
#include <QString>
#include <QTemporaryDir>

// A database server of one test's own, as real processes, and the faults a server meets: its
// postmaster killed, the whole server stopped (a hung host), a restart. Nothing here touches
// the shared test server.
namespace testing_support {

class ServerCluster {
public:
    // Starts a new server in a temporary folder (tools/pg_cluster.sh start); see failure().
    ServerCluster();
    // Resumes it if stopped, then stops it and removes its folder.
    ~ServerCluster();
    ServerCluster(const ServerCluster&) = delete;
    ServerCluster& operator=(const ServerCluster&) = delete;

    // Why the last start, start-again or restart failed; empty when it worked.
    const QString& failure() const { return failure_; }
    // The server's postgres database, as the settings' folder would name it.
    QString uri() const;
    // The running postmaster's process id, from its lock file; 0 when there is none.
    qint64 postmasterPid() const;

    // SIGKILL of the postmaster alone: its backends are left orphaned, as after a crash.
    void kill();
    // SIGSTOP of the postmaster and every process it started: nothing answers any more.
    void freeze();
    // SIGCONT of what freeze() stopped.
    void thaw();
    // Starts the server again after it ended, trying again (for up to ms) while the
    // processes of a killed one still hold its shared memory. False when it did not start.
    bool startAgain(int ms = 30000);
    // pg_ctl restart -m fast: every connection ends, the server starts again.
    bool restart();

private:
    bool run(const QString& action);

    QTemporaryDir parent_;
    QString dir_;
    QString failure_;
    QList<qint64> frozen_;
};

}  // namespace testing_support
