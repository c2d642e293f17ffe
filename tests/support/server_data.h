#pragma once

#include <QString>
#include <optional>

struct pg_conn;

namespace testing_support {

// The test server's connection URI from DULVANE_TEST_PG (tools/test.sh starts the server and
// sets it); nullopt when it is unset.
std::optional<QString> testServerUri();

// A fresh, empty database on the test server with a unique name, gone when this goes (emptied
// and kept for a later test to take, or dropped).
class ServerDatabase {
public:
    explicit ServerDatabase(const QString& serverUri);
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    // The URI of the new database: the server's URI with its database name replaced.
    const QString& uri() const { return uri_; }
    // Ends every connection to the database, as a restart of the server does.
    void dropConnections() const;

private:
    // Empties the database and renames it to a spare; false when it could not.
    bool keepAsSpare() const;

    QString serverUri_;
    QString name_;
    QString uri_;
};

// Another workstation's transaction holding the message table of a database on the test server
// in its most exclusive lock: nobody else reads or writes it until this goes (and rolls back).
class ServerTableLock {
public:
    explicit ServerTableLock(const QString& uri);
    ~ServerTableLock();
    ServerTableLock(const ServerTableLock&) = delete;
    ServerTableLock& operator=(const ServerTableLock&) = delete;

private:
    pg_conn* conn_ = nullptr;
};

}  // namespace testing_support
