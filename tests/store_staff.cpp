// The staff directory and the rule of delivery built on it, on both engines: whose messages a
// user lists, marks read and is told of, and the pick lists.
#include <gtest/gtest.h>

#include <QSet>

#include "store/maintenance.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "store/staff.h"
#include "support/engines.h"

using namespace testing_support;

namespace {

struct Delivery {
    const char* what;
    QStringList directory;
    QString user;
    QStringList owned;  // of kAddressees, the ones the user's lists hold
};

// Every case's messages: each addressed to, and taken by, one of these.
const QStringList kAddressees{"山", "山田", "山田太郎", "山口", "田中", "kim", "Kimura", "ka"};

const Delivery kDeliveries[] = {
    {"no directory: the prefix rule", {}, "山", {"山", "山田", "山田太郎", "山口"}},
    {"a longer directory name keeps its own", {"山田"}, "山", {"山", "山口"}},
    {"the directory's name takes the longer names it begins",
     {"山田"},
     "山田",
     {"山田", "山田太郎"}},
    {"the longest name wins", {"山田", "山田太郎"}, "山田", {"山田"}},
    {"the longest name's own", {"山田", "山田太郎"}, "山田太郎", {"山田太郎"}},
    {"a name that begins several", {"山", "山田", "山口"}, "山", {"山"}},
    {"a user outside the directory", {"田中"}, "山", {"山", "山田", "山田太郎", "山口"}},
    {"letters of either case, as the office's Like", {"KIM"}, "k", {"ka"}},
    {"a name read exactly", {"Kimura"}, "kim", {"kim"}},
};

class StaffOnEngine : public OpenedOnEachEngine {
protected:
    static QSet<QString> names(const store::Listing& rows, bool addressee) {
        QSet<QString> out;
        for (const store::ListedRow& row : rows) {
            out << (addressee ? row.addressee : row.taker);
        }
        return out;
    }

    void directory(const QStringList& names) {
        for (const store::StaffMember& m : store::staff::directory(*db_)) {
            store::staff::remove(*db_, m.name);
        }
        for (const QString& name : names) {
            store::staff::add(*db_, {name, {}, {}, {}, {}, false});
        }
    }
};

DULVANE_ON_EACH_ENGINE(StaffOnEngine);

}  // namespace

TEST_P(StaffOnEngine, EachMessageBelongsToTheLongestDirectoryNameItsAddresseeBeginsWith) {
    for (const QString& name : kAddressees) {
        store::memo::insert(*db_, {name, "相手", name, "メモ", false, {}, "2026/01/01 10:00"});
    }
    for (const Delivery& d : kDeliveries) {
        SCOPED_TRACE(d.what);
        directory(d.directory);
        const QSet<QString> owned(d.owned.begin(), d.owned.end());
        EXPECT_EQ(names(store::memo::receivedList(*db_, d.user), true), owned);
        EXPECT_EQ(names(store::memo::sentList(*db_, d.user), false), owned);
        EXPECT_TRUE(store::memo::hasUnread(*db_, d.user));
        EXPECT_EQ(store::memo::unread(*db_, d.user).count, owned.size());
        // The relay picks the same person.
        for (const QString& name : d.owned) {
            if (d.directory.contains(d.user)) {
                EXPECT_EQ(store::staff::ownerOf(d.directory, name), d.user) << name.toStdString();
            }
        }
    }
    // Marking read and the watch follow the same rule: the user's own messages, no others.
    directory({"山", "山田"});
    EXPECT_EQ(store::memo::markRead(*db_, "山", "2026/01/02", 1000), 2);
    EXPECT_FALSE(store::memo::hasUnread(*db_, "山"));
    EXPECT_TRUE(store::memo::hasUnread(*db_, "山田"));
    EXPECT_EQ(store::memo::markRead(*db_, "山田", "2026/01/02", 1000), 2);
    EXPECT_FALSE(store::memo::hasUnread(*db_, "山田"));
    EXPECT_TRUE(store::memo::hasUnread(*db_, "田中"));
}

TEST_P(StaffOnEngine, DirectoryRefusesBadNamesAndLeadsThePickLists) {
    store::memo::insert(*db_, {"佐藤", "相手", "阿部", "メモ", false, {}, "t"});
    store::staff::add(*db_, {"鈴木", QStringLiteral("すずき"), {}, {}, {}, false});
    store::staff::add(*db_,
                      {"阿部", QStringLiteral("あべ"), "101", "営業", "abe@example.jp", true});
    for (const QString& bad : {QString(""), QString(" 鈴木"), QString("鈴木　"), QString("鈴木")}) {
        EXPECT_THROW(store::staff::add(*db_, {bad, {}, {}, {}, {}, false}), store::Error)
            << bad.toStdString();
    }
    EXPECT_THROW(store::staff::set(*db_, "阿部", {"鈴木", {}, {}, {}, {}, false}), store::Error);
    const store::memo::PickLists lists = store::memo::pickLists(*db_);
    EXPECT_EQ(*lists.addressees, (QStringList{"阿部", "鈴木", "佐藤"}));
    EXPECT_EQ(*lists.takers, (QStringList{"阿部", "鈴木"}));
    EXPECT_EQ(*lists.callers, (QStringList{"相手"}));
    const std::vector<store::StaffMember> members = store::staff::directory(*db_);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].mail, QStringLiteral("abe@example.jp"));
    EXPECT_TRUE(members[0].forward);
    EXPECT_FALSE(members[1].forward);
    EXPECT_FALSE(members[1].mail);
}

TEST_P(StaffOnEngine, ACopyCarriesTheDirectory) {
    store::staff::add(*db_,
                      {"阿部", QStringLiteral("あべ"), "101", "営業", "abe@example.jp", true});
    store::memo::insert(*db_, {"阿部", "相手", "受人", "メモ", false, {}, "t"});
    DataStore copy(Engine::File);
    auto to = store::Workspace{}.openDatabase(copy.location(), store::memo::tableName(),
                                              store::memo::requiredColumns());
    store::maintenance::copyMessages(*db_, *to);
    const std::vector<store::StaffMember> copied = store::staff::directory(*to);
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].extension, QStringLiteral("101"));
    EXPECT_EQ(copied[0].mail, QStringLiteral("abe@example.jp"));
    EXPECT_TRUE(copied[0].forward);
}
