// The message table's operations give the same results on a data file and on a database
// server: order, Nulls and empty texts, the mark-as-read bound, numbers, the office's Like.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSet>

#include "store/error.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/server/connection.h"
#include "support/engines.h"
#include "support/files.h"
#include "support/server_data.h"

using namespace testing_support;

namespace {

// A new, empty message table on the engine, and the operations' database on it.
class MemoOnEngine : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (GetParam() == Engine::Server && serverMissing()) {
            GTEST_SKIP() << *serverMissing();
        }
        store_.emplace(GetParam());
        location_ = store_->location();
        db_ = store::Workspace{std::chrono::milliseconds(2000)}.openDatabase(
            location_, store::memo::tableName(), store::memo::requiredColumns());
    }

    qint64 add(const QString& to, const QString& taker = QStringLiteral("受人"),
               const QString& caller = QStringLiteral("相手")) {
        store::memo::insert(*db_, {to, caller, taker, QStringLiteral("メモ"), false, {}, "t"});
        store::memo::Listing rs = store::memo::receivedList(*db_, to);
        return store::memo::highestNumber(rs);
    }

    static QList<qint64> numbers(const store::memo::Listing& rs) {
        QList<qint64> out;
        for (const store::memo::ListedRow& row : rs) {
            out << row.no.value();
        }
        return out;
    }

    std::optional<DataStore> store_;
    QString location_;
    std::unique_ptr<store::Database> db_;
};

INSTANTIATE_TEST_SUITE_P(Engines, MemoOnEngine, testing::Values(Engine::File, Engine::Server),
                         [](const testing::TestParamInfo<Engine>& info) {
                             return engineName(info.param);
                         });

}  // namespace

TEST_P(MemoOnEngine, ListsComeNewestFirstWithNullsAndEmptyTextsKeptApart) {
    const qint64 a = add(QStringLiteral("山田"), QStringLiteral("鈴木"), QString(""));
    const qint64 b = add(QStringLiteral("山田様"), QStringLiteral("佐藤"));
    add(QStringLiteral("田中"), QStringLiteral("鈴木"));
    EXPECT_EQ(numbers(store::memo::receivedList(*db_, QStringLiteral("山田"))),
              (QList<qint64>{b, a}));
    const store::memo::Listing rs = store::memo::receivedList(*db_, QStringLiteral("山田"));
    ASSERT_EQ(rs.size(), 2);
    EXPECT_FALSE(rs[1].caller.isNull());
    EXPECT_EQ(rs[1].caller, QString());
    EXPECT_TRUE(rs[1].readOn.isNull());
    EXPECT_EQ(rs[1].phone, QStringLiteral("-"));
    EXPECT_EQ(rs[1].line, QStringLiteral("内線"));
    EXPECT_EQ(numbers(store::memo::sentList(*db_, QStringLiteral("鈴木"))).size(), 2);

    const store::memo::PickLists lists = store::memo::pickLists(*db_);
    ASSERT_TRUE(lists.addressees && lists.callers && lists.takers);
    EXPECT_EQ(*lists.takers, (QStringList{"佐藤", "鈴木"}));
    EXPECT_EQ(lists.callers->size(), 2);

    // A file keeps a text holding a NUL character whole; the server, which cannot hold one,
    // refuses it rather than storing it cut short.
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    const store::memo::NewMessage m{
        QStringLiteral("NUL"), QStringLiteral("c"), QStringLiteral("t"), withNul, false, {}, "t"};
    if (GetParam() == Engine::File) {
        store::memo::insert(*db_, m);
        const store::memo::Listing nul = store::memo::receivedList(*db_, QStringLiteral("NUL"));
        ASSERT_EQ(nul.size(), 1);
        EXPECT_EQ(nul[0].memo, withNul);
    } else {
        EXPECT_THROW(store::memo::insert(*db_, m), store::Error);
        EXPECT_EQ(store::memo::receivedList(*db_, QStringLiteral("NUL")).size(), 0);
    }
}

TEST_P(MemoOnEngine, MarkReadStopsAtTheHighestListedAndNumbersAreNeverReused) {
    add(QStringLiteral("山田"));
    add(QStringLiteral("山田"));
    store::memo::Listing listed = store::memo::receivedList(*db_, QStringLiteral("山田"));
    const qint64 highest = store::memo::highestNumber(listed);
    const qint64 later = add(QStringLiteral("山田"));
    EXPECT_EQ(store::memo::markRead(*db_, QStringLiteral("山田"), "2026/12/07", highest), 2);
    EXPECT_TRUE(store::memo::hasUnread(*db_, QStringLiteral("山田")));
    EXPECT_EQ(store::memo::markRead(*db_, QStringLiteral("山田"), "2026/12/07", later), 1);
    EXPECT_FALSE(store::memo::hasUnread(*db_, QStringLiteral("山田")));

    store::memo::remove(*db_, later);
    store::memo::remove(*db_, later);  // gone already: no error
    EXPECT_GT(add(QStringLiteral("山田")), later);
}

TEST_P(MemoOnEngine, UnreadCountsTheNamesUnreadMessagesAndGivesTheNewestOfThem) {
    const qint64 read = add(QStringLiteral("山田"));
    store::memo::markRead(*db_, QStringLiteral("山田"), "2026/12/07", read);
    EXPECT_EQ(store::memo::unread(*db_, QStringLiteral("山田")).count, 0);
    store::memo::insert(*db_, {QStringLiteral("山田"),
                               QStringLiteral("佐藤"),
                               "b",
                               QStringLiteral("1行目\n2行目"),
                               true,
                               {},
                               "2026/12/08 09:15",
                               true});  // urgent, though not the newest
    store::memo::insert(*db_, {QStringLiteral("山田太郎"),
                               QStringLiteral("鈴木"),
                               "b",
                               QStringLiteral("本文"),
                               true,
                               {},
                               "2026/12/08 10:00"});
    add(QStringLiteral("小山田"));  // newest, but another name's
    const store::memo::Unread unread = store::memo::unread(*db_, QStringLiteral("山田"));
    EXPECT_EQ(unread.count, 2);
    EXPECT_EQ(unread.caller, QStringLiteral("鈴木"));
    EXPECT_EQ(unread.receivedAt, QStringLiteral("2026/12/08 10:00"));
    EXPECT_EQ(unread.memo, QStringLiteral("本文"));
    EXPECT_TRUE(unread.urgent);
    EXPECT_EQ(store::memo::unread(*db_, QStringLiteral("山田太郎")).count, 1);
    EXPECT_FALSE(store::memo::unread(*db_, QStringLiteral("山田太郎")).urgent);
    const store::memo::Unread none = store::memo::unread(*db_, QStringLiteral("田"));
    EXPECT_EQ(none.count, 0);
    EXPECT_TRUE(none.caller.isEmpty() && none.memo.isEmpty());
}

// Names stored, and for each name typed, the stored names it finds: case is ignored in every
// script, wildcard characters are taken literally.
TEST_P(MemoOnEngine, TheOfficesLikeFindsTheSameNames) {
    const QStringList stored = {
        "Sato",  "sATO様", "ſato",    "Kato",       "\u212Aato",  "ΣΟΦΙΑ",  "σοφια",
        "ςοφια", "Straße", "STRAẞE",  "ＡＢＣ商事", "ａｂｃ商事", "Élise",  "élise",
        "Иван",  "иван",   "やまだ",  "山田太郎",   "50%off",     "50_off", "a*b",
        "axxb",  "a[b]",   "O'Brien", "o'brien様",  "ab",         "x\\y",   "xzy"};
    const QList<std::pair<QString, QStringList>> table = {
        {"sato", {"Sato", "sATO様", "ſato"}},
        {"S", {"Sato", "sATO様", "ſato", "Straße", "STRAẞE"}},
        {"kato", {"Kato", "\u212Aato"}},
        {"σοφ", {"ΣΟΦΙΑ", "σοφια", "ςοφια"}},
        {"ς", {"ΣΟΦΙΑ", "σοφια", "ςοφια"}},
        {"STRASSE", {}},
        {"straß", {"Straße", "STRAẞE"}},
        {"abc", {}},
        {"ａｂｃ", {"ＡＢＣ商事", "ａｂｃ商事"}},
        {"ÉLI", {"Élise", "élise"}},
        {"ИВАН", {"Иван", "иван"}},
        {"やま", {"やまだ"}},
        {"山田", {"山田太郎"}},
        {"50%", {"50%off"}},
        {"50_", {"50_off"}},
        {"a*", {"a*b"}},
        {"a[", {"a[b]"}},
        {"a?", {}},
        {"O'B", {"O'Brien", "o'brien様"}},
        {"x\\", {"x\\y"}},
    };
    QMap<qint64, QString> byNumber;
    for (const QString& name : stored) {
        byNumber.insert(add(name, name), name);
    }
    for (const auto& [typed, expected] : table) {
        SCOPED_TRACE(typed.toStdString());
        QStringList received, sent;
        for (qint64 no : numbers(store::memo::receivedList(*db_, typed))) {
            received << byNumber.value(no);
        }
        for (qint64 no : numbers(store::memo::sentList(*db_, typed))) {
            sent << byNumber.value(no);
        }
        received.sort();
        sent.sort();
        QStringList want = expected;
        want.sort();
        EXPECT_EQ(received, want);
        EXPECT_EQ(sent, want);
        EXPECT_EQ(store::memo::hasUnread(*db_, typed), !want.isEmpty());
        EXPECT_EQ(store::memo::unread(*db_, typed).count, want.size());
    }
    // Marking read follows the same rule.
    EXPECT_EQ(store::memo::markRead(*db_, "ς", "2026/12/07", byNumber.lastKey()), 3);
    EXPECT_FALSE(store::memo::hasUnread(*db_, "ΣΟΦ"));
    EXPECT_TRUE(store::memo::hasUnread(*db_, "S"));
}

TEST_P(MemoOnEngine, CreateRefusesAnExistingTableAndCheckFindsItSound) {
    add(QStringLiteral("山田"));
    EXPECT_THROW(store::schema::createDataFile(location_), store::Error);
    EXPECT_EQ(numbers(store::memo::receivedList(*db_, QStringLiteral("山田"))).size(), 1);
    EXPECT_TRUE(store::schema::checkFile(location_).isEmpty());
    EXPECT_FALSE(store::schema::upgradeDataFile(location_));
}

TEST(ServerSchema, CheckAndUpgradeLookAtTheTableTheProgramUsesNotAnotherSchemas) {
    if (serverMissing()) {
        GTEST_SKIP() << *serverMissing();
    }
    const DataStore sound(Engine::Server);  // a whole MEMO_T in public
    store::server::Connection server(sound.location(), std::chrono::milliseconds(2000));
    server.connect();
    // One without the indexes, one without a column.
    server.exec(QStringLiteral("CREATE SCHEMA old"));
    server.exec(QStringLiteral("CREATE SCHEMA part"));
    server.exec(QStringLiteral("CREATE TABLE old.\"MEMO_T\" (LIKE public.\"MEMO_T\")"));
    server.exec(QStringLiteral("CREATE TABLE part.\"MEMO_T\" (\"ＮＯ\" bigint)"));
    const auto in = [&](const char* schema) {
        return sound.location() + QStringLiteral("&options=-csearch_path%3D") + schema;
    };
    EXPECT_TRUE(store::schema::checkFile(in("part")).join(u' ').contains(QStringLiteral("既読")));
    EXPECT_TRUE(store::schema::upgradeDataFile(in("old")));
}

TEST(ServerLocation, AServerThatCannotBeReachedFailsWithinTheBoundWithoutShowingThePassword) {
    Office office;  // a folder with no server's socket in it
    const QString uri = QStringLiteral("postgresql://clerk:s3cret@/office?host=%1&password=s3cret")
                            .arg(office.path(QStringLiteral("")));
    QElapsedTimer timer;
    timer.start();
    try {
        store::Workspace{std::chrono::milliseconds(2000)}.openDatabase(
            uri, store::memo::tableName(), store::memo::requiredColumns());
        FAIL() << "opened a server that is not there";
    } catch (const store::Error& e) {
        EXPECT_EQ(e.kind(), store::Error::Kind::ConnectionLost);
        EXPECT_FALSE(e.report().contains(QStringLiteral("s3cret"))) << e.report().toStdString();
        EXPECT_TRUE(e.report().contains(office.path(QStringLiteral(""))))
            << e.report().toStdString();
    }
    EXPECT_LT(timer.elapsed(), 5000);
    for (const QStringList& problems : {store::schema::checkFile(uri)}) {
        ASSERT_FALSE(problems.isEmpty());
        EXPECT_FALSE(problems.join(u' ').contains(QStringLiteral("s3cret")));
    }
}
