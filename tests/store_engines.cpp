// The two engines behind store::Database: which one a location gets, how each tells its
// failures, and the one transaction guard on both.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

#include "store/file/file_database.h"
#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/server/server_database.h"
#include "support/engines.h"

using namespace testing_support;

namespace {

std::unique_ptr<store::Database> openAt(const QString& location, int busyMs = 2000) {
    return store::Workspace{std::chrono::milliseconds(busyMs)}.openDatabase(
        location, store::memo::tableName(), store::memo::requiredColumns());
}

store::NewMessage message(const QString& memo) {
    return {QStringLiteral("山田"),
            QStringLiteral("佐藤"),
            QStringLiteral("鈴木"),
            memo,
            false,
            {},
            QStringLiteral("2026/12/07 10:00")};
}

QStringList memos(store::Database& db) {
    QStringList out;
    for (const store::StoredMessage& m : store::maintenance::everyMessage(db)) {
        out << m.texts[3].value_or(QString());
    }
    return out;
}

// The kind of the failure run ends with.
store::Error::Kind kindOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const store::Error& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no failure";
    return store::Error::Kind::Other;
}

class EngineBehind : public OnEachEngine {};
DULVANE_ON_EACH_ENGINE(EngineBehind);

}  // namespace

TEST(Workspace, TellsAServerFromADataFileByTheLocationAlone) {
    const store::Workspace ws;
    const std::pair<const char*, bool> cases[] = {
        {"/share/dulvane.mdb", false},
        {"dulvane.mdb", false},
        {"postgresql_notes.mdb", false},
        {"/share/postgresql/dulvane.mdb", false},
        {"./postgresql://db/dulvane", false},
        {"file:///share/dulvane.mdb", false},
        {"postgresql://clerk@db.example/dulvane?sslmode=verify-full", true},
        {"postgres://db.example/dulvane", true},
        {"POSTGRESQL://db.example/dulvane", true},
        {"postgresql:///dulvane?host=/run/postgresql", true},
    };
    for (const auto& [location, server] : cases) {
        SCOPED_TRACE(location);
        const std::unique_ptr<store::Database> db = ws.database(QString::fromUtf8(location));
        EXPECT_EQ(dynamic_cast<store::server::ServerDatabase*>(db.get()) != nullptr, server);
        EXPECT_EQ(dynamic_cast<store::file::FileDatabase*>(db.get()) != nullptr, !server);
        EXPECT_EQ(db->path(), QString::fromUtf8(location));
        // Nothing is opened or made by asking: the engine says what it can do.
        EXPECT_EQ(db->capabilities().onlineBackup, !server);
    }
}

// Each engine's failures, provoked for real, as the kinds everything above the engines tells
// apart.
TEST_P(EngineBehind, TellsItsFailuresByKind) {
    using Kind = store::Error::Kind;
    QTemporaryDir dir;
    const DataStore data(GetParam());
    struct Case {
        const char* what;
        std::function<void()> run;
        Kind kind;
    };
    // What both engines do: a write while another workstation keeps writers out.
    std::vector<Case> cases = {
        {"a write while another workstation keeps writers out",
         [&] {
             auto holder = openAt(data.location());
             store::Transaction lock(*holder, store::Transaction::Kind::Exclusive);
             store::memo::insert(*openAt(data.location(), 100), message("m"));
         },
         Kind::Locked},
    };
    if (GetParam() == Engine::File) {
        cases.push_back(
            {"a missing file", [&] { openAt(dir.filePath("missing.mdb")); }, Kind::Missing});
        cases.push_back({"a file that is no database",
                         [&] {
                             QFile junk(dir.filePath("junk.mdb"));
                             ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
                             junk.write(QByteArray(4096, 'x'));
                             junk.close();
                             openAt(junk.fileName());
                         },
                         Kind::NotADataFile});
        cases.push_back({"a settings file in the data file's place",
                         [&] {
                             store::schema::createSettingsFile(dir.filePath("DULVANE.INI"),
                                                               std::nullopt, std::nullopt);
                             openAt(dir.filePath("DULVANE.INI"));
                         },
                         Kind::NotADataFile});
    } else {
        cases.push_back({"a database that does not exist",
                         [&] { openAt(store::withDatabase(data.location(), "no_such_database")); },
                         Kind::Missing});
        cases.push_back({"a database without the message table", [&] { openAt(*testServerUri()); },
                         Kind::NotADataFile});
        cases.push_back({"a server that is not there",
                         [&] {
                             openAt(QStringLiteral("postgresql:///x?host=%1&user=postgres")
                                        .arg(dir.filePath("nowhere")));
                         },
                         Kind::ConnectionLost});
        cases.push_back({"a text it cannot hold",
                         [&] {
                             store::memo::insert(*openAt(data.location()),
                                                 message(QStringLiteral("a") + QChar(0)));
                         },
                         Kind::TextRefused});
    }
    for (const Case& c : cases) {
        EXPECT_EQ(store::kindName(kindOf(c.run)), store::kindName(c.kind)) << c.what;
    }
    // None of them left a message behind.
    EXPECT_TRUE(memos(*openAt(data.location())).isEmpty());
}

TEST_P(EngineBehind, TheTransactionGuardKeepsOnlyWhatWasCommitted) {
    const DataStore data(GetParam());
    auto db = openAt(data.location());
    {
        store::Transaction t(*db, store::Transaction::Kind::Write);
        store::memo::insert(*db, message("kept"));
        t.commit();
    }
    EXPECT_THROW(
        {
            store::Transaction t(*db, store::Transaction::Kind::Exclusive);
            store::memo::insert(*db, message("dropped"));
            throw std::runtime_error("interrupted");
        },
        std::runtime_error);
    // Another workstation sees what was committed, and nothing holds it up: no transaction is
    // left open, no lock outlives the guard.
    auto other = openAt(data.location(), 100);
    EXPECT_EQ(memos(*other), QStringList{"kept"});
    store::memo::insert(*other, message("after"));
    EXPECT_EQ(memos(*db), (QStringList{"kept", "after"}));
    // A transaction that ends without a commit keeps nothing, even without a failure.
    {
        store::Transaction t(*db, store::Transaction::Kind::Write);
        store::memo::remove(*db, store::maintenance::everyMessage(*db).front().no.value());
    }
    EXPECT_EQ(memos(*other), (QStringList{"kept", "after"}));
}
