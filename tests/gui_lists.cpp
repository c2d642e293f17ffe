#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include "store/date_time_text.h"
#include "store/memo_table.h"
#include "support/main_window.h"

using testing_support::Workstation;

namespace {

const QString kSearchFailed = QStringLiteral("データベース検索に失敗しました。");

QStringList gridRow(SpreadGrid& grid, int row) {
    QStringList cells;
    for (int c = 2; c <= 8; ++c) {
        cells << grid.text(GridColumn(c), row);
    }
    return cells;
}

QString today() {
    return store::dateText(QDate::currentDate());
}

}  // namespace

class Lists : public testing_support::OnEachEngine {
protected:
    void start(const QString& name = QStringLiteral("山田")) {
        if (!w.office.hasDataFile()) {
            w.office.makeDataFile();
        }
        w.startAs(name);
    }
    void clickReceived() { QTest::mouseClick(w.form->Command1, Qt::LeftButton); }
    void clickSent() { QTest::mouseClick(w.form->Command3, Qt::LeftButton); }
    SpreadGrid& grid() { return *w.form->SS1; }

    Workstation w{GetParam()};
};
DULVANE_ON_EACH_ENGINE(Lists);

class ListsOnAFile : public Lists {};
DULVANE_ON_FILE_ONLY(ListsOnAFile);

TEST_P(Lists, ReceivedListShowsNewestFirstWithTheCellTexts) {
    w.office.makeDataFile();
    const auto add = [&](const store::maintenance::MessageTexts& texts) { w.office.addRow(texts); };
    add({"山田", "佐藤", "鈴木", "一通目", "外線", "-", "2026/12/01 09:05", "2026/12/02"});
    add({"山田", std::nullopt, "鈴木", "相手なし", "内線", "0312345678", "20", std::nullopt});
    add({"田中", "佐藤", "鈴木", "宛先違い", "内線", "-", "2026/12/03 10:00", std::nullopt});
    add({"山田", "高橋", std::nullopt, "最新", std::nullopt, "99", "2026/12/04 11:30",
         std::nullopt});
    start();
    clickReceived();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    ASSERT_EQ(grid().rowCount(), 3);
    EXPECT_EQ(gridRow(grid(), 1),
              (QStringList{"26/12/04 11:30", "高橋様", "最新", "99", "", "", "4"}));
    EXPECT_EQ(gridRow(grid(), 2),
              (QStringList{"", "", "相手なし", "内線0312345678", "鈴木", "", "2"}));
    EXPECT_EQ(gridRow(grid(), 3), (QStringList{"26/12/01 09:05", "佐藤様", "一通目", "外線-",
                                               "鈴木", "26/12/02", "1"}));
    EXPECT_EQ(grid().header(GridColumn::Name), QStringLiteral("受人"));

    // Marked read today, except the one read earlier, which keeps its first date.
    const QStringList rows = w.office.rows();
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|2026/12/02")));
    EXPECT_TRUE(rows[1].endsWith(u'|' + today()));
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("|<null>")));  // someone else's
    EXPECT_TRUE(rows[3].endsWith(u'|' + today()));

    // The grid still shows the rows unread as they were listed; the next listing shows the
    // date, in the same order.
    EXPECT_EQ(grid().text(GridColumn::Read, 1), QString());
    clickReceived();
    EXPECT_EQ(grid().text(GridColumn::Read, 1), today().mid(2));
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("4"));
    EXPECT_EQ(grid().text(GridColumn::Read, 3), QStringLiteral("26/12/02"));
}

TEST_P(Lists, SentListShowsTheAddresseeAndChangesNothing) {
    w.office.makeDataFile();
    w.office.addMessage("田中", "佐藤", "山田");
    w.office.addMessage("鈴木", "高橋", "山田");
    w.office.addMessage("山田", "高橋", "鈴木");
    start();
    const QStringList before = w.office.rows();
    clickSent();
    ASSERT_EQ(grid().rowCount(), 2);
    EXPECT_EQ(grid().header(GridColumn::Name), QStringLiteral("宛名"));
    EXPECT_EQ(grid().text(GridColumn::Name, 1), QStringLiteral("鈴木"));
    EXPECT_EQ(grid().text(GridColumn::Name, 2), QStringLiteral("田中"));
    EXPECT_EQ(w.office.rows(), before);
}

TEST_P(Lists, EmptyResultsSayCarefullyAndLeaveTheGridAsItWas) {
    w.office.makeDataFile();
    w.office.addMessage("田中", "佐藤", "山田");
    start();
    clickSent();
    ASSERT_EQ(grid().rowCount(), 1);
    clickReceived();
    EXPECT_EQ(w.prompts.messages, QStringList{"受信データはありません。"});
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(grid().header(GridColumn::Name), QStringLiteral("宛名"));
    EXPECT_EQ(grid().text(GridColumn::Name, 1), QStringLiteral("田中"));

    Workstation other(GetParam());
    other.startAs(QStringLiteral("高橋"));
    QTest::mouseClick(other.form->Command3, Qt::LeftButton);
    EXPECT_EQ(other.prompts.messages, QStringList{"未読送信データはありません。"});
}

TEST_P(Lists, APrefixNameListsAndMarksTheLongerNamesMessagesToo) {
    w.office.makeDataFile();
    w.office.addMessage("山田太郎", "佐藤", "鈴木");
    w.office.addMessage("山", "佐藤", "鈴木");
    start();
    clickReceived();
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_TRUE(w.office.rows()[0].endsWith(today()));
    EXPECT_TRUE(w.office.rows()[1].endsWith(QStringLiteral("<null>")));
}

TEST_P(Lists, WildcardsInTheNameMatchOnlyThemselves) {
    w.office.makeDataFile();
    w.office.addMessage("a*b", "x", "y");
    w.office.addMessage("aXb", "x", "y");
    w.office.addMessage("[a]", "x", "y");
    w.office.addMessage("a", "x", "y");
    start(QStringLiteral("a*b"));
    clickReceived();
    EXPECT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("1"));
}

TEST_P(Lists, AMessageArrivingBetweenTheListingAndTheMarkStaysUnread) {
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    start();
    // Another workstation sends while the listing is being written into the grid.
    auto other = w.office.openData();
    bool sent = false;
    QObject::connect(w.form->SS1->model(), &QAbstractItemModel::modelReset, [&] {
        if (!sent) {
            sent = true;
            store::memo::insert(
                *other, {QStringLiteral("山田"), QStringLiteral("新"), QStringLiteral("鈴木"),
                         QStringLiteral("後から"), false, QString(), QStringLiteral("x")});
        }
    });
    clickReceived();
    ASSERT_TRUE(sent);
    const QStringList rows = w.office.rows();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].endsWith(today()));
    EXPECT_TRUE(rows[1].endsWith(QStringLiteral("<null>")));
}

TEST_P(Lists, AnEmptyNameListsNobodysMessages) {
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    w.prepare(std::nullopt, w.office.dataPath());
    w.start();
    clickReceived();
    clickSent();
    ASSERT_EQ(w.prompts.messages.size(), 2);
    EXPECT_TRUE(w.prompts.messages[0].contains(QStringLiteral("名前")));
    EXPECT_EQ(grid().text(GridColumn::Caller, 1), QString());
    EXPECT_TRUE(w.office.rows()[0].endsWith(QStringLiteral("<null>")));
}

TEST_P(ListsOnAFile, AFileThatBecameUnreadableGivesTheSearchFailure) {
    w.office.makeDataFile();
    w.office.addMessage("山田", "佐藤", "鈴木");
    start();
    clickReceived();
    ASSERT_EQ(grid().rowCount(), 1);
    // The file is replaced by something that is not a database.
    QFile::remove(w.office.dataPath());
    QFile junk(w.office.dataPath());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'z'));
    junk.close();
    clickReceived();
    clickSent();
    EXPECT_EQ(w.prompts.messages, (QStringList{kSearchFailed, kSearchFailed}));
    EXPECT_EQ(grid().text(GridColumn::Number, 1), QStringLiteral("1"));
}
