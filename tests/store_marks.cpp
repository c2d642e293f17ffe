// The marks 至急 and 対応日時 and the ready phrases on both engines, on data made now and on
// data an earlier release made, before and after an upgrade.
#include <gtest/gtest.h>

#include "store/listed_message.h"
#include "store/memo_table.h"
#include "store/phrases.h"
#include "store/schema.h"
#include "support/engines.h"
#include "support/files.h"

using namespace testing_support;

namespace {

class Marks : public OnEachEngine {
protected:
    store::memo::ListedMessage listedFirst(store::Database& db, const QString& addressee) {
        const store::Listing listed = store::memo::receivedList(db, addressee);
        EXPECT_FALSE(listed.empty());
        return {listed[0].no.value_or(0), listed[0].identity};
    }
    static store::NewMessage message(const QString& to, bool urgent) {
        store::NewMessage m{to,
                            QStringLiteral("相手"),
                            QStringLiteral("受人"),
                            QStringLiteral("メモ"),
                            false,
                            {},
                            QStringLiteral("2026/12/01 09:30")};
        m.urgent = urgent;
        return m;
    }
    Office office{GetParam()};
};
DULVANE_ON_EACH_ENGINE(Marks);

}  // namespace

TEST_P(Marks, UrgentIsKeptAndHandledIsSetAndClearedOnTheMessageListed) {
    office.makeDataFile();
    auto db = office.openData();
    store::memo::insert(*db, message(QStringLiteral("山田"), true));
    store::memo::insert(*db, message(QStringLiteral("山田"), false));
    store::Listing listed = store::memo::receivedList(*db, QStringLiteral("山田"));
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_FALSE(listed[0].urgent());
    EXPECT_TRUE(listed[0].value(store::memo::Added::Urgent).isNull());
    EXPECT_TRUE(listed[1].urgent());
    EXPECT_TRUE(store::memo::sentList(*db, QStringLiteral("受人"))[1].urgent());

    // Read since the listing: 既読 is not part of the identity, the mark still reaches it.
    const store::memo::ListedMessage first = listedFirst(*db, QStringLiteral("山田"));
    store::memo::markRead(*db, QStringLiteral("山田"), QStringLiteral("2026/12/02"), first.no);
    EXPECT_EQ(store::memo::markHandled(*db, first, QStringLiteral("2026/12/02 10:00")),
              store::memo::MarkOutcome::Marked);
    listed = store::memo::sentList(*db, QStringLiteral("受人"));
    EXPECT_TRUE(listed[0].handled());
    EXPECT_EQ(listed[0].value(store::memo::Added::HandledAt), QStringLiteral("2026/12/02 10:00"));
    EXPECT_FALSE(listed[1].handled());
    // Nor is 対応日時: the same listed row clears it again.
    EXPECT_EQ(store::memo::markHandled(*db, first, std::nullopt), store::memo::MarkOutcome::Marked);
    EXPECT_FALSE(store::memo::receivedList(*db, QStringLiteral("山田"))[0].handled());
}

TEST_P(Marks, AStaleRowMarksNothingAndAGoneMessageIsSaidSo) {
    office.makeDataFile();
    const qint64 no =
        office.addMessage(QStringLiteral("山田"), QStringLiteral("相手"), QStringLiteral("受人"));
    auto db = office.openData();
    const store::memo::ListedMessage listed = listedFirst(*db, QStringLiteral("山田"));
    office.giveNumberToAnother(
        no, {QStringLiteral("山田"), QStringLiteral("別人"), QStringLiteral("受人"),
             QStringLiteral("別の伝言"), QStringLiteral("内線"), QStringLiteral("-"),
             QStringLiteral("2026/12/01 09:30"), std::nullopt});
    EXPECT_EQ(store::memo::markHandled(*db, listed, QStringLiteral("2026/12/02 10:00")),
              store::memo::MarkOutcome::Replaced);
    EXPECT_FALSE(store::memo::receivedList(*db, QStringLiteral("山田"))[0].handled());
    store::memo::remove(*db, no);
    EXPECT_EQ(store::memo::markHandled(*db, listed, QStringLiteral("2026/12/02 10:00")),
              store::memo::MarkOutcome::Gone);
}

TEST_P(Marks, OldDataWorksAsBeforeUntilTheUpgradeAddsTheMarksAndThePhrases) {
    office.makeOldDataFile();
    const qint64 no =
        office.addMessage(QStringLiteral("山田"), QStringLiteral("相手"), QStringLiteral("受人"));
    auto db = office.openData();
    EXPECT_EQ(db->additions().columns, (std::array<bool, store::memo::kAddedCount>{}));
    EXPECT_FALSE(db->additions().has(store::AddedTable::Phrases));
    EXPECT_TRUE(store::schema::checkFile(office.dataPath()).isEmpty());
    EXPECT_FALSE(store::memo::receivedList(*db, QStringLiteral("山田"))[0].urgent());
    EXPECT_EQ(store::phrases::offered(*db), store::phrases::defaults());
    // A mark the data cannot keep is refused, never dropped.
    EXPECT_THROW(store::memo::insert(*db, message(QStringLiteral("山田"), true)), store::Error);
    EXPECT_THROW(store::memo::markHandled(*db, listedFirst(*db, QStringLiteral("山田")),
                                          QStringLiteral("2026/12/02 10:00")),
                 store::Error);
    EXPECT_EQ(office.rowCount(), 1);

    EXPECT_TRUE(store::schema::upgradeDataFile(office.dataPath()));
    EXPECT_FALSE(store::schema::upgradeDataFile(office.dataPath()));
    auto upgraded = office.openData();
    EXPECT_TRUE(upgraded->additions().complete());
    EXPECT_TRUE(store::schema::checkFile(office.dataPath()).isEmpty());
    EXPECT_EQ(store::phrases::offered(*upgraded), store::phrases::defaults());
    const store::memo::ListedMessage listed = listedFirst(*upgraded, QStringLiteral("山田"));
    EXPECT_EQ(listed.no, no);
    EXPECT_EQ(store::memo::markHandled(*upgraded, listed, QStringLiteral("2026/12/02 10:00")),
              store::memo::MarkOutcome::Marked);
    store::memo::insert(*upgraded, message(QStringLiteral("山田"), true));
    EXPECT_TRUE(store::memo::receivedList(*upgraded, QStringLiteral("山田"))[0].urgent());
}

TEST_P(Marks, PhrasesAreAddedMovedAndRemovedByPlace) {
    office.makeDataFile();
    auto db = office.openData();
    const QStringList five = store::phrases::defaults();
    EXPECT_EQ(store::phrases::offered(*db), five);
    store::phrases::add(*db, QStringLiteral("至急お電話ください。"));
    store::phrases::move(*db, 6, 1);
    EXPECT_EQ(store::phrases::remove(*db, 3), five[1]);
    EXPECT_EQ(store::phrases::offered(*db), (QStringList{QStringLiteral("至急お電話ください。"),
                                                         five[0], five[2], five[3], five[4]}));
    EXPECT_THROW(store::phrases::add(*db, QString(101, u'あ')), store::Error);
    EXPECT_THROW(store::phrases::move(*db, 1, 6), store::Error);
    EXPECT_EQ(store::phrases::list(*db).size(), 5u);
    for (int place = 5; place >= 1; --place) {
        store::phrases::remove(*db, place);
    }
    // Emptied by the office: nothing offered, not the program's own.
    EXPECT_TRUE(store::phrases::offered(*db).isEmpty());
}

TEST_P(Marks, CheckTakesMissingAdditionsButNotOnesOfAnotherType) {
    office.makeOldDataFile();
    EXPECT_TRUE(store::schema::checkFile(office.dataPath()).isEmpty());
    office.runOnData(QStringLiteral("ALTER TABLE \"MEMO_T\" ADD COLUMN \"至急\" text"));
    const QStringList problems = store::schema::checkFile(office.dataPath());
    ASSERT_EQ(problems.size(), 1) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems[0].contains(QStringLiteral("至急"))) << problems[0].toStdString();
}
