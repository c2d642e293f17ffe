#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

#include "store/database.h"
#include "support/server_data.h"

namespace testing_support {

// The two places an office's messages can be kept.
enum class Engine { File, Server };

// "File" or "Server", for the names of parameterised tests.
std::string engineName(Engine engine);

// Why the server's cases cannot run here, or nullopt when they can (DULVANE_TEST_PG is set).
std::optional<std::string> serverMissing();

// A test run once on each engine (see DULVANE_ON_EACH_ENGINE); the Server case is skipped
// when there is no test server. A fixture that has its own SetUp calls this one first and
// returns when IsSkipped().
class OnEachEngine : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
};

// The engine's name as the name of a parameterised case.
std::string engineCaseName(const testing::TestParamInfo<Engine>& info);

// An empty message table on one engine: a new data file in a temporary folder, or a new
// database on the test server (dropped when this goes). Call GTEST_SKIP() with serverMissing()
// before making one for the server.
class DataStore {
public:
    explicit DataStore(Engine engine);

    Engine engine() const { return engine_; }
    // What the settings' folder holds for it: the file's path or the database's URI.
    const QString& location() const { return location_; }
    // The test server's database (Server only).
    const ServerDatabase* server() const { return server_ ? &*server_ : nullptr; }

private:
    Engine engine_;
    QTemporaryDir dir_;
    std::optional<ServerDatabase> server_;
    QString location_;
};

// A test on one engine's new, empty message table, opened as the program opens it (db_).
class OpenedOnEachEngine : public OnEachEngine {
protected:
    void SetUp() override;

    std::optional<DataStore> store_;
    std::unique_ptr<store::Database> db_;
};

}  // namespace testing_support

// Runs the parameterised suite (a fixture derived from OnEachEngine) on both engines.
#define DULVANE_ON_EACH_ENGINE(suite)                                                    \
    INSTANTIATE_TEST_SUITE_P(                                                            \
        Engines, suite,                                                                  \
        testing::Values(testing_support::Engine::File, testing_support::Engine::Server), \
        testing_support::engineCaseName)

// Runs a parameterised suite whose cases are about what a data file is on the File engine only.
#define DULVANE_ON_FILE_ONLY(suite)                                                           \
    INSTANTIATE_TEST_SUITE_P(FileOnly, suite, testing::Values(testing_support::Engine::File), \
                             testing_support::engineCaseName)
