#pragma once

struct sqlite3;

namespace store {

class Database;

// One transaction on a connection: begun by the constructor, kept only by commit(), and
// rolled back by the destructor when anything leaves the scope before the commit.
class Transaction {
public:
    enum class Kind {
        Read,       // BEGIN: a consistent picture over several reads
        Write,      // BEGIN IMMEDIATE: the write lock from the start, waiting for others
        Exclusive,  // BEGIN EXCLUSIVE: nobody else even reads until the commit
    };

    Transaction(sqlite3* db, Kind kind);
    // A transaction on an open database's current connection.
    Transaction(Database& db, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Ends the transaction, keeping what it did; throws the engine's error.
    void commit();

private:
    sqlite3* db_;
    bool open_ = false;
};

}  // namespace store
