// The indexes a data file carries: made with the file, added to an older file by the upgrade,
// and used by the statements they are for.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QStringList>

#include "store/memo_table.h"
#include "store/schema.h"
#include "support/files.h"

using testing_support::Office;

namespace {

QStringList indexes(const QString& path) {
    sqlite3* raw = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(raw,
                       "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='MEMO_T' "
                       "AND name NOT LIKE 'sqlite_%' ORDER BY name",
                       -1, &st, nullptr);
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    }
    sqlite3_finalize(st);
    sqlite3_close(raw);
    return out;
}

QString plan(store::file::FileDatabase& db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    const QByteArray text = QByteArray("EXPLAIN QUERY PLAN ") + sql;
    sqlite3_prepare_v2(db.handle(), text.constData(), -1, &st, nullptr);
    QString out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + u'\n';
    }
    sqlite3_finalize(st);
    return out;
}

const QStringList kAll = {"MEMO_T_受人", "MEMO_T_宛名", "MEMO_T_既読", "MEMO_T_相手"};

}  // namespace

TEST(DataFileIndexes, ANewFileHasThemAndTheStatementsUseThem) {
    Office office;
    office.makeDataFile();
    QStringList made = indexes(office.dataPath());
    made.sort();
    QStringList all = kAll;
    all.sort();
    EXPECT_EQ(made, all);
    auto db = office.openFile();
    EXPECT_TRUE(plan(*db, "Select Distinct(宛名) From MEMO_T").contains("MEMO_T_宛名"));
    EXPECT_TRUE(plan(*db, "Select Distinct(相手) From MEMO_T").contains("MEMO_T_相手"));
    EXPECT_TRUE(plan(*db, "Select Distinct(受人) From MEMO_T").contains("MEMO_T_受人"));
    EXPECT_TRUE(plan(*db, "Select * From MEMO_T Where 宛名 Like 'x*' And 既読 is Null")
                    .contains("MEMO_T_既読"));
}

TEST(DataFileIndexes, TheUpgradeAddsWhatAnOlderFileLacksAndKeepsEveryMessage) {
    Office office;
    const QString path = office.path("old.mdb");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw,
                               "CREATE TABLE MEMO_T (ＮＯ INTEGER PRIMARY KEY AUTOINCREMENT, 宛名 "
                               "TEXT, 相手 TEXT, 受人 TEXT, メモ TEXT, 内外線 TEXT, 電話 TEXT, "
                               "受付日時 TEXT, 既読 TEXT);"
                               "INSERT INTO MEMO_T (宛名,相手,受人) VALUES ('山田','佐藤','鈴木'),"
                               "('田中','佐藤','山田');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
    }
    EXPECT_TRUE(indexes(path).isEmpty());
    EXPECT_TRUE(store::schema::upgradeDataFile(path));
    QStringList now = indexes(path);
    now.sort();
    QStringList all = kAll;
    all.sort();
    EXPECT_EQ(now, all);
    EXPECT_FALSE(store::schema::upgradeDataFile(path));
    EXPECT_TRUE(store::schema::checkFile(path).isEmpty());

    auto db = store::Workspace{}.openDatabase(path, store::memo::tableName(),
                                              store::memo::requiredColumns());
    const store::memo::PickLists names = store::memo::pickLists(*db);
    ASSERT_TRUE(names.addressees && names.callers);
    EXPECT_EQ(names.addressees->size(), 2);
    EXPECT_EQ(names.callers->size(), 1);
    EXPECT_EQ(store::memo::receivedList(*db, QStringLiteral("山田")).size(), 1);
}
