#pragma once

#include <QString>
#include <chrono>
#include <memory>

#include "store/transaction.h"

struct sqlite3;

namespace store::file {

// How a connection waits for another workstation's lock: it tries again every millisecond or
// two, for up to the timeout. (The engine's own timeout sleeps up to 100 ms between tries, so
// a waiter keeps missing the short gaps between busy workstations' locks.)
struct BusyWait {
    std::chrono::milliseconds timeout{0};
    std::chrono::steady_clock::time_point since;
};

// One open connection to a database file, closed when its owner goes. Every connection the
// program makes is opened by Connection::open, with the same settings: extended result codes,
// the busy wait and the office's Like. A transaction on it (store::Transaction) is BEGIN,
// BEGIN IMMEDIATE or BEGIN EXCLUSIVE by its kind.
class Connection final : public Transactional {
public:
    enum class Mode {
        Existing,   // read-write, never creating a file
        CreateNew,  // read-write, creating the file when it is missing
    };

    Connection() = default;
    ~Connection() override = default;
    Connection(Connection&&) noexcept = default;
    // The connection held before closes first, while its busy wait is still there.
    Connection& operator=(Connection&& other) noexcept {
        db_.reset();
        busy_ = std::move(other.busy_);
        db_ = std::move(other.db_);
        return *this;
    }
    static Connection open(const QString& path, Mode mode, std::chrono::milliseconds busyTimeout);

    sqlite3* get() const { return db_.get(); }
    explicit operator bool() const { return db_ != nullptr; }
    // Closes the connection now.
    void reset() { db_.reset(); }

    // Throw the engine's error.
    void begin(Transaction::Kind kind) override;
    void commit() override;
    // A failed statement may have ended the transaction already: then, and without a
    // connection, nothing is done.
    void rollback() noexcept override;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    // The wait lives apart from the connection, so that moving a connection leaves the busy
    // handler's argument where it was; it is declared first, so that it outlives the handle.
    std::unique_ptr<BusyWait> busy_;
    std::unique_ptr<sqlite3, Closer> db_;
};

}  // namespace store::file
