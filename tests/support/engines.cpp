#include "support/engines.h"

#include <gtest/gtest.h>

#include "store/schema.h"
#include "store/tables.h"
#include "store/workspace.h"

namespace testing_support {

std::string engineName(Engine engine) {
    return engine == Engine::File ? "File" : "Server";
}

std::optional<std::string> serverMissing() {
    if (testServerUri()) {
        return std::nullopt;
    }
    return "DULVANE_TEST_PG is unset: no test server (tools/test.sh starts one)";
}

void OnEachEngine::SetUp() {
    if (GetParam() == Engine::Server && serverMissing()) {
        GTEST_SKIP() << *serverMissing();
    }
}

void OpenedOnEachEngine::SetUp() {
    OnEachEngine::SetUp();
    if (IsSkipped()) {
        return;
    }
    store_.emplace(GetParam());
    db_ = store::Workspace{std::chrono::milliseconds(2000)}.openDatabase(
        store_->location(), store::memo::tableName(), store::memo::requiredColumns());
}

std::string engineCaseName(const testing::TestParamInfo<Engine>& info) {
    return engineName(info.param);
}

DataStore::DataStore(Engine engine) : engine_(engine) {
    if (engine == Engine::File) {
        EXPECT_TRUE(dir_.isValid());
        location_ = dir_.filePath(QStringLiteral("dulvane.mdb"));
    } else {
        server_.emplace(testServerUri().value());
        location_ = server_->uri();
    }
    store::schema::createDataFile(location_);
}

}  // namespace testing_support
