#pragma once

#include <QString>
#include <optional>

namespace testing_support {

// The test server's connection URI from DULVANE_TEST_PG (tools/test.sh starts the server and
// sets it); nullopt when it is unset.
std::optional<QString> testServerUri();

// A fresh, empty database on the test server with a unique name, dropped when it goes.
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
    QString serverUri_;
    QString name_;
    QString uri_;
};

}  // namespace testing_support
