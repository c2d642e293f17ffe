#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "store/error.h"

struct pg_conn;
struct pg_result;

namespace store::server {

// One result of a statement, cleared when it goes.
struct ResultDeleter {
    void operator()(pg_result* r) const;
};
using Result = std::unique_ptr<pg_result, ResultDeleter>;

// Text parameters of a statement; nullopt is sent as Null.
using TextParams = std::vector<std::optional<QString>>;

// One connection to a database server, opened from a connection URI. Every wait is bounded:
// the connect by connect_timeout, a lock and a statement by lock_timeout and statement_timeout,
// all about the workspace's busy timeout, and the wait for any answer by a deadline of its own
// a little later (a stopped server enforces none of its timeouts). A connection found lost, or
// given up for want of an answer, is opened again at the next operation, once.
class Connection {
public:
    Connection(QString uri, std::chrono::milliseconds timeout);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects, or throws the reason with the location's password masked.
    void connect();
    // From the next connect on, a connection over the network whose other end has gone
    // silent (a host cut off) is found lost after about 2 × idle, even while nothing is sent.
    void keepAlive(std::chrono::seconds idle) { keepAliveIdle_ = idle; }
    // Reconnects when the last operation found the connection lost, or when the server closed
    // it while it was idle (a restart): before any statement is sent, so nothing is repeated.
    void ensureConnected();

    // Runs one statement with text parameters; throws the server's error. A text holding a NUL
    // character, which would arrive cut short, is refused (Error::Kind::TextRefused) before
    // anything is sent; half a character goes as U+FFFD, as a data file stores it.
    Result exec(const QString& sql, const TextParams& params = {});

    const QString& location() const { return uri_; }
    // Hands the open connection over to a new owner (who finishes it), leaving this one closed.
    pg_conn* release() {
        pg_conn* c = conn_;
        conn_ = nullptr;
        return c;
    }
    // Whether the connection was found lost (the server went away or restarted).
    bool isLost() const;
    // Whether the last statement was given up because the server did not answer in time.
    bool wentUnanswered() const { return unanswered_; }
    // How long a statement waits for the server's answer: the busy timeout and a margin.
    std::chrono::milliseconds answerWait() const;

private:
    [[noreturn]] void failConnection(const QString& what);
    [[noreturn]] void failResult(pg_result* r);
    [[noreturn]] void giveUp();
    void drop();
    bool closedWhileIdle() const;
    // Waits until the socket is ready for events; gives up at the deadline.
    short awaitSocket(short events, std::chrono::steady_clock::time_point deadline);

    QString uri_;
    std::chrono::milliseconds timeout_;
    pg_conn* conn_ = nullptr;
    bool unanswered_ = false;
    std::optional<std::chrono::seconds> keepAliveIdle_;
};

// What kind of failure a statement's SQLSTATE is.
Error::Kind kindOfState(const QByteArray& state);

}  // namespace store::server
