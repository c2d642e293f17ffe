#include "store/file/connection.h"

#include <sqlite3.h>

#include <thread>

#include "store/file/like_function.h"
#include "store/file/statement.h"

namespace store::file {
namespace {

// The busy handler: called with count 0 at the first refusal of a lock, then once per retry.
int waitWhileBusy(void* arg, int count) {
    auto* wait = static_cast<BusyWait*>(arg);
    const auto now = std::chrono::steady_clock::now();
    if (count == 0) {
        wait->since = now;
    }
    if (now - wait->since >= wait->timeout) {
        return 0;
    }
    // Quick retries catch the short gaps between other workstations' writes; a long wait
    // backs off, so that a waiter does not flood a network share's lock service.
    std::this_thread::sleep_for(std::chrono::milliseconds(count < 20 ? 1 : count < 100 ? 2 : 10));
    return 1;
}

}  // namespace

void Connection::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

Connection Connection::open(const QString& path, Mode mode, std::chrono::milliseconds busyTimeout) {
    // One thread at a time uses a connection: the engine need not lock it on every call.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::CreateNew) {
        flags |= SQLITE_OPEN_CREATE;
    }
    Connection c;
    c.busy_ = std::make_unique<BusyWait>();
    c.busy_->timeout = busyTimeout;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    c.db_.reset(raw);
    if (rc != SQLITE_OK) {
        throwEngineError(raw, rc);
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_handler(raw, waitWhileBusy, c.busy_.get());
    installLike(raw);
    return c;
}

void Connection::begin(Transaction::Kind kind) {
    switch (kind) {
        case Transaction::Kind::Read:
            execScript(get(), "BEGIN");
            break;
        case Transaction::Kind::Write:
            execScript(get(), "BEGIN IMMEDIATE");
            break;
        case Transaction::Kind::Exclusive:
            execScript(get(), "BEGIN EXCLUSIVE");
            break;
    }
}

void Connection::commit() {
    execScript(get(), "COMMIT");
}

void Connection::rollback() noexcept {
    if (db_ && sqlite3_get_autocommit(db_.get()) == 0) {
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

}  // namespace store::file
