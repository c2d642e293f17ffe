#include <gtest/gtest.h>

#include <stdexcept>

#include "store/bulk_fill.h"
#include "store/error.h"
#include "store/file/connection.h"
#include "store/file/statement.h"
#include "store/memo_table.h"
#include "store/transaction.h"
#include "support/files.h"

using testing_support::Office;

namespace {

constexpr std::chrono::milliseconds kShortWait{100};

store::file::Connection connect(const QString& path) {
    return store::file::Connection::open(path, store::file::Connection::Mode::Existing, kShortWait);
}

void insertOne(const store::file::Connection& c) {
    store::file::execScript(c.get(), "Insert into MEMO_T (宛名) Values ('a')");
}

store::Error::Kind kindOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const store::Error& e) {
        return e.kind();
    }
    ADD_FAILURE() << "no failure";
    return store::Error::Kind::Other;
}

}  // namespace

TEST(Transaction, KeepsOnlyWhatWasCommittedAndRollsBackWhenAFailureLeavesItsScope) {
    Office office;
    office.makeDataFile();
    store::file::Connection c = connect(office.dataPath());
    {
        store::Transaction t(c, store::Transaction::Kind::Write);
        insertOne(c);
        t.commit();
    }
    EXPECT_THROW(
        {
            store::Transaction t(c, store::Transaction::Kind::Write);
            insertOne(c);
            throw std::runtime_error("interrupted");
        },
        std::runtime_error);
    // Neither a commit without BEGIN nor the lock is left behind: another workstation writes.
    EXPECT_EQ(office.rowCount(), 1);
    office.openFile(100)->execute(QStringLiteral("Delete From MEMO_T"));
    EXPECT_EQ(office.rowCount(), 0);
}

TEST(Connection, ClosesWithItsOwnerAndWithItTheLocksItHeld) {
    Office office;
    office.makeDataFile();
    {
        const store::file::Connection c = connect(office.dataPath());
        store::file::execScript(c.get(), "BEGIN EXCLUSIVE");
        EXPECT_EQ(
            kindOf([&] { office.openFile(100)->execute(QStringLiteral("Delete From MEMO_T")); }),
            store::Error::Kind::Locked);
    }
    EXPECT_NO_THROW(office.openFile(100)->execute(QStringLiteral("Delete From MEMO_T")));
    {
        // A bulk fill that is not committed keeps nothing and lets the file go.
        store::BulkFill fill(office.dataPath());
        fill.add({"a", "b", "c", "m", "内線", "-", "2026/12/01 09:30", "", false});
    }
    EXPECT_EQ(office.rowCount(), 0);
    EXPECT_NO_THROW(office.addMessage("a", "b", "c"));
}

TEST(Connection, TellsAMissingFileFromOneThatIsNoDatabase) {
    Office office;
    EXPECT_EQ(kindOf([&] { office.openData(100); }), store::Error::Kind::Missing);
    QFile text(office.dataPath());
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    EXPECT_EQ(kindOf([&] { office.openData(100); }), store::Error::Kind::NotADataFile);
}
