#pragma once

namespace store {

class Transactional;

// One transaction: begun by the constructor, kept only by commit(), and rolled back by the
// destructor when anything leaves the scope before the commit. Every transaction of the
// store is one of these, on an open database (store::Database) or, inside the data file's
// engine, on one of its connections.
class Transaction {
public:
    enum class Kind {
        // One consistent picture over several reads (a data file: BEGIN; a server: a
        // repeatable-read, read-only transaction).
        Read,
        // Reads and writes kept or dropped together, other writers waited for (a data file:
        // BEGIN IMMEDIATE, the write lock from the start; a server: a read-write transaction
        // whose reads for a change lock their rows).
        Write,
        // No other workstation writes until the end (a data file: BEGIN EXCLUSIVE, nobody else
        // even reads; a server: the message table locked against writers, readers go on).
        Exclusive,
    };

    Transaction(Transactional& on, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Ends the transaction, keeping what it did; throws store::Error (the transaction is then
    // rolled back as the guard goes).
    void commit();

private:
    Transactional& on_;
    bool open_ = false;
};

// What a transaction runs on: each engine begins, commits and rolls back in its own way.
class Transactional {
public:
    // Throws store::Error; nothing is begun then.
    virtual void begin(Transaction::Kind kind) = 0;
    virtual void commit() = 0;
    // Ends the open transaction without keeping anything; does nothing when none is open.
    virtual void rollback() noexcept = 0;

protected:
    virtual ~Transactional() = default;
};

}  // namespace store
