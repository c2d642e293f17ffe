#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include "store/error.h"
#include "store/file/file_database.h"
#include "store/memo_table.h"
#include "support/files.h"
#include "tools/generate.h"

using testing_support::Office;

namespace {

// Every row of a generated file, read through the program's own adapter.
struct Rows {
    explicit Rows(const Office& office, const QString& name) {
        store::Workspace ws{std::chrono::milliseconds(2000)};
        auto db = ws.openFile(office.path(name), store::memo::tableName(),
                              store::memo::requiredColumns());
        // The columns a message was made of before the marks, which a generated file leaves
        // Null.
        rs = db->openRecordset(QStringLiteral("Select %1 From MEMO_T Order By ＮＯ")
                                   .arg(store::memo::requiredColumns().join(u',')));
    }
    QString at(const char* column) const { return rs.Fields(QString::fromUtf8(column)).value(); }
    bool isNull(const char* column) const { return rs.Fields(QString::fromUtf8(column)).isNull(); }
    store::file::Recordset rs;
};

QStringList dump(const Office& office, const QString& name) {
    Rows rows(office, name);
    QStringList out;
    for (rows.rs.MoveFirst(); !rows.rs.Eof(); rows.rs.MoveNext()) {
        QStringList cells;
        for (int c = 0; c < rows.rs.columns().size(); ++c) {
            cells << (rows.rs.field(c).isNull() ? QStringLiteral("<null>")
                                                : rows.rs.field(c).value());
        }
        out << cells.join(u'|');
    }
    return out;
}

tools::GenerateOptions options(std::int64_t count, std::uint64_t seed = 1,
                               std::optional<std::int64_t> unread = std::nullopt,
                               const QString& allTo = QString()) {
    tools::GenerateOptions o;
    o.count = count;
    o.seed = seed;
    o.unread = unread;
    o.allTo = allTo;
    return o;
}

}  // namespace

TEST(Generate, MakesRealisticMessagesInNumberOrder) {
    Office office;
    const auto made = tools::generateDataFile(office.path("g.mdb"), options(3000, 7));
    EXPECT_EQ(made.messages, 3000);
    EXPECT_EQ(made.unread, tools::kDefaultUnread);

    Rows rows(office, "g.mdb");
    ASSERT_EQ(rows.rs.RecordCount(), 3000);
    QSet<QString> addressees, callers, takers, memos;
    QString previousTime;
    qint64 previousNo = 0;
    int unread = 0, defaultMemos = 0, outside = 0;
    bool unreadSeen = false;
    for (rows.rs.MoveFirst(); !rows.rs.Eof(); rows.rs.MoveNext()) {
        const qint64 no = rows.at("ＮＯ").toLongLong();
        EXPECT_EQ(no, previousNo + 1);
        previousNo = no;
        const QString at = rows.at("受付日時");
        ASSERT_EQ(at.size(), 16) << at.toStdString();
        EXPECT_EQ(at, QDateTime::fromString(at, QStringLiteral("yyyy/MM/dd HH:mm"))
                          .toString(QStringLiteral("yyyy/MM/dd HH:mm")));
        EXPECT_GE(at, previousTime);
        previousTime = at;
        addressees << rows.at("宛名");
        callers << rows.at("相手");
        takers << rows.at("受人");
        EXPECT_NE(rows.at("宛名"), rows.at("受人")) << no;
        const QString memo = rows.at("メモ");
        EXPECT_FALSE(memo.isEmpty());
        EXPECT_LE(memo.toUcs4().size(), 100);
        memos << memo;
        defaultMemos += memo == QStringLiteral("お電話をさしあげてください。");
        const QString line = rows.at("内外線");
        EXPECT_TRUE(line == QStringLiteral("内線") || line == QStringLiteral("外線"));
        outside += line == QStringLiteral("外線");
        EXPECT_FALSE(rows.at("電話").isEmpty());
        if (rows.isNull("既読")) {
            ++unread;
            unreadSeen = true;
        } else {
            // Old messages are read on or after the day they came, never before; once the
            // unread ones begin, all later ones are unread too.
            EXPECT_FALSE(unreadSeen) << no;
            const QString readOn = rows.at("既読");
            EXPECT_EQ(readOn.size(), 10);
            EXPECT_GE(readOn, at.left(10)) << no;
        }
    }
    EXPECT_EQ(unread, tools::kDefaultUnread);
    // Names that begin with a colleague's name, as in a real office.
    EXPECT_TRUE(addressees.contains(QStringLiteral("山田")));
    EXPECT_TRUE(addressees.contains(QStringLiteral("山田太郎")));
    EXPECT_GE(addressees.size(), 30);
    EXPECT_GE(takers.size(), 30);
    EXPECT_GE(callers.size(), 200);
    EXPECT_GE(memos.size(), 30);
    EXPECT_GT(defaultMemos, 3000 / 4);
    EXPECT_LT(defaultMemos, 3000 * 3 / 4);
    EXPECT_GT(outside, 3000 / 2);
    EXPECT_LT(outside, 3000 * 9 / 10);
    // Spread over years.
    rows.rs.MoveFirst();
    EXPECT_LE(rows.at("受付日時").left(4).toInt() + 3, previousTime.left(4).toInt());
}

TEST(Generate, TheUnreadAreTheNewestAndSpreadOverTheStaff) {
    Office office;
    tools::generateDataFile(office.path("g.mdb"), options(500, 3, 30));
    auto db = store::Workspace{}.openFile(office.path("g.mdb"), store::memo::tableName(),
                                          store::memo::requiredColumns());
    store::file::Recordset rs = db->openRecordset(QStringLiteral(
        "Select min(ＮＯ) As first, count(*) As n, count(Distinct 宛名) As names From MEMO_T "
        "Where 既読 Is Null"));
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(QStringLiteral("n")).value().toInt(), 30);
    EXPECT_EQ(rs.Fields(QStringLiteral("first")).value().toInt(), 471);
    EXPECT_EQ(rs.Fields(QStringLiteral("names")).value().toInt(), 30);
    // The new-message check finds them for a name that has one.
    EXPECT_TRUE(store::memo::hasUnread(*db, QStringLiteral("山田")) ||
                store::memo::hasUnread(*db, QStringLiteral("佐藤")));

    tools::generateDataFile(office.path("none.mdb"), options(200, 3, 0));
    EXPECT_FALSE(dump(office, "none.mdb").join(u'\n').contains(QStringLiteral("<null>")));
}

TEST(Generate, TheSameSeedMakesTheSameFile) {
    Office office;
    tools::generateDataFile(office.path("a.mdb"), options(400, 11));
    tools::generateDataFile(office.path("b.mdb"), options(400, 11));
    tools::generateDataFile(office.path("c.mdb"), options(400, 12));
    const QStringList a = dump(office, "a.mdb");
    EXPECT_EQ(a.size(), 400);
    EXPECT_EQ(a, dump(office, "b.mdb"));
    EXPECT_NE(a, dump(office, "c.mdb"));
}

TEST(Generate, AllToAddressesEveryMessageToOneName) {
    Office office;
    tools::generateDataFile(office.path("g.mdb"),
                            options(300, 1, std::nullopt, QStringLiteral("山田")));
    auto db = store::Workspace{}.openDatabase(office.path("g.mdb"), store::memo::tableName(),
                                              store::memo::requiredColumns());
    EXPECT_EQ(store::memo::receivedList(*db, QStringLiteral("山田")).size(), 300);
    EXPECT_EQ(store::memo::receivedList(*db, QStringLiteral("佐藤")).size(), 0);
}

TEST(Generate, RefusesAnExistingFileAndLeavesItAlone) {
    Office office;
    QFile f(office.path("x.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    EXPECT_THROW(tools::generateDataFile(office.path("x.mdb"), options(10)), store::Error);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep me"));
}

TEST(Generate, CommandChecksItsArguments) {
    Office office;
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(tools::generateCommand({office.path("g.mdb")}, out, err), 2);
    EXPECT_EQ(tools::generateCommand({office.path("g.mdb"), "ten"}, out, err), 2);
    EXPECT_EQ(tools::generateCommand({office.path("g.mdb"), "5", "--unread", "6"}, out, err), 2);
    EXPECT_EQ(tools::generateCommand({office.path("g.mdb"), "5", "--seed"}, out, err), 2);
    EXPECT_FALSE(QFile::exists(office.path("g.mdb")));
    EXPECT_EQ(tools::generateCommand({office.path("g.mdb"), "25", "--seed", "4", "--unread", "5"},
                                     out, err),
              0);
    EXPECT_EQ(dump(office, "g.mdb").join(u'\n').count(QStringLiteral("<null>")), 5);
}
