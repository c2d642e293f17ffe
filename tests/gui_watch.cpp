#include <gtest/gtest.h>

#include <optional>

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "support/main_window.h"
#include "ui/settings/frm_set.h"

using testing_support::Workstation;

namespace {
const QString kNotice = QStringLiteral("新規メッセージがあります。");

// A send from another workstation, as its window makes it.
void send(store::Database& db, const QString& to) {
    store::memo::insert(db, {to,
                             QStringLiteral("佐藤"),
                             QStringLiteral("鈴木"),
                             QStringLiteral("お電話をさしあげてください。"),
                             false,
                             {},
                             QStringLiteral("2026/12/01 09:30")});
}
}  // namespace

class Watch : public testing_support::OnEachEngine {
protected:
    void start(const std::optional<QString>& name = QStringLiteral("山田")) {
        w.office.makeDataFile();
        w.prepare(name, w.office.dataPath());
        w.start();
    }
    void tick() { w.tick(); }
    Workstation w{GetParam()};
};
DULVANE_ON_EACH_ENGINE(Watch);

class WatchOnAFile : public Watch {};
DULVANE_ON_FILE_ONLY(WatchOnAFile);

class WatchOnAServer : public Watch {
protected:
    bool listening() const {
        return w.form->arrivalWatch() != nullptr && w.form->arrivalWatch()->listening();
    }
};
INSTANTIATE_TEST_SUITE_P(ServerOnly, WatchOnAServer,
                         testing::Values(testing_support::Engine::Server),
                         testing_support::engineCaseName);

TEST_P(Watch, RunsFromTheStartAtTheFullPeriod) {
    start();
    EXPECT_TRUE(w.form->Timer1->isActive());
    EXPECT_EQ(w.form->Timer1->interval(), 65535);
    EXPECT_TRUE(w.form->Chk1->isChecked());
}

TEST_P(Watch, AnUnreadMessageIsAnnouncedAtEveryTickUntilListed) {
    start();
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    w.office.addMessage(QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    tick();
    tick();
    EXPECT_EQ(w.prompts.messages, (QStringList{kNotice, kNotice}));
    EXPECT_TRUE(w.office.rows()[0].endsWith(QStringLiteral("<null>")));  // nothing marked read
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    w.prompts.messages.clear();
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
}

TEST_P(Watch, AnyReadValueEvenEmptyMeansRead) {
    start();
    w.office.addMessage(QStringLiteral("山田"), "a", "b", "m", QString(""));
    w.office.addMessage(QStringLiteral("山田"), "a", "b", "m", QStringLiteral("2026/01/01"));
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
}

TEST_P(Watch, AColleagueWhoseNameBeginsWithTheUsersNameCounts) {
    start(QStringLiteral("山田"));
    w.office.addMessage(QStringLiteral("山田花子"), "a", "b");
    tick();
    EXPECT_EQ(w.prompts.messages, QStringList{kNotice});
    w.prompts.messages.clear();
    w.office.removeMessages();
    w.office.addMessage(QStringLiteral("小山田"), "a", "b");
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
}

TEST_P(Watch, AnEmptyNameIsToldNothingAboutOthers) {
    start(std::nullopt);
    w.office.addMessage(QStringLiteral("山田"), "a", "b");
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
}

TEST_P(Watch, TheCheckBoxStopsAndRestartsTheTicks) {
    start();
    w.form->show();
    QTest::mouseClick(w.form->Chk1, Qt::LeftButton);
    EXPECT_FALSE(w.form->Chk1->isChecked());
    EXPECT_FALSE(w.form->Timer1->isActive());
    QTest::mouseClick(w.form->Chk1, Qt::LeftButton);
    EXPECT_TRUE(w.form->Timer1->isActive());
    EXPECT_EQ(w.form->Timer1->interval(), 65535);
    // Restarting counts a full period from the click.
    EXPECT_GT(w.form->Timer1->remainingTime(), 60000);
}

TEST_P(Watch, ShortenedTicksReallyArriveAndStopWhenUnchecked) {
    start();
    w.office.addMessage(QStringLiteral("山田"), "a", "b");
    w.form->show();
    w.form->setWatchPeriod(20);
    QSignalSpy ticks(w.form->Timer1, &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(2000));
    // The tick's poll answers through the event loop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.prompts.messages.isEmpty(); }, 2000));
    QTest::mouseClick(w.form->Chk1, Qt::LeftButton);
    ticks.clear();
    EXPECT_FALSE(ticks.wait(200));
}

TEST_P(WatchOnAFile, WithoutADataFileTicksAreSilentAndTheWatchKeepsRunning) {
    w.prepare(QStringLiteral("山田"), w.office.path("missing.mdb"), false);
    w.start();
    w.prompts.messages.clear();
    tick();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    EXPECT_TRUE(w.form->Timer1->isActive());
}

TEST_P(Watch, LockedDataMakesATickSilent) {
    start();
    w.office.addMessage(QStringLiteral("山田"), "a", "b");
    std::unique_ptr<testing_support::DataLock> otherLock = w.office.lockData();
    tick();
    otherLock.reset();
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    tick();
    EXPECT_EQ(w.prompts.messages, QStringList{kNotice});
}

// A tick while anything modal is open shows nothing, so two boxes never pile up: the notice
// itself, a message box, the delete question, the file dialog, the settings window.
TEST_P(Watch, ATickWhileAnyBoxIsOpenShowsNothing) {
    start();
    w.office.addMessage(QStringLiteral("山田"), "a", QStringLiteral("山田"));
    QTest::mouseClick(w.form->Command3, Qt::LeftButton);  // lists it without marking it read
    w.prompts.whileOpen = [&](const QString&) { tick(); };
    tick();
    w.form->Command2_Click();  // nothing typed: a message box
    w.prompts.answers = {false};
    w.form->SS1_Click(1, 1);
    w.prompts.settingsScripts.push_back([](Frm_set& s) { s.Command1_Click(); });
    w.form->Cmd_Set_Click();
    EXPECT_EQ(
        w.prompts.shown,
        (QStringList{kNotice, QStringLiteral("未入力項目があります。"),
                     QStringLiteral("?1行目のデータを削除します。"), QStringLiteral("settings"),
                     QStringLiteral("open:") + Frm_set::initialFolder(w.state.My_Folder)}));
    w.prompts.whileOpen = nullptr;
    tick();
    EXPECT_EQ(w.prompts.messages.count(kNotice), 2);
}

// Ticks that keep failing (the file unreachable) are silent until they have failed for the
// whole bound; then the user is told once, and again only after a tick has worked and a new
// run of failures has lasted as long.
TEST_P(WatchOnAFile, FailingTicksTellOnceAfterTheBoundAndAgainOnlyAfterASuccess) {
    const QString kUnreachable =
        QStringLiteral("データファイルに接続できないため、新規メッセージを確認できません。");
    start();
    w.form->setWatchFailureBound(std::chrono::milliseconds(200));
    w.form->setWatchPeriod(10);
    QSignalSpy ticks(w.form->Timer1, &QTimer::timeout);
    const QString away = w.office.path("away.mdb");
    for (int run = 1; run <= 2; ++run) {
        ASSERT_TRUE(QFile::rename(w.office.dataPath(), away));
        QElapsedTimer failing;
        failing.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.prompts.messages.count(kUnreachable) == run; }));
        EXPECT_GE(failing.elapsed(), 200);
        ticks.clear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 20; }));
        EXPECT_EQ(w.prompts.messages, QStringList(run, kUnreachable));
        EXPECT_TRUE(w.form->Timer1->isActive());
        // Reachable again: one tick that works ends the run.
        ASSERT_TRUE(QFile::rename(away, w.office.dataPath()));
        ticks.clear();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 2; }));
    }
}

// Where the data tells of each send (a server), a message sent from another workstation that
// the user's prefix rule lists is announced within a second, the ticks left at their full
// period; a send to another name, a send rolled back, and a send while the watch is off bring
// nothing (an unread message already waits, so a check run for them would show). A data file
// tells of nothing: its messages wait for the tick.
TEST_P(Watch, ASendElsewhereIsAnnouncedAtOnceWhereTheDataTellsOfIt) {
    const bool tells = GetParam() == testing_support::Engine::Server;
    start();
    if (tells) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return w.form->arrivalWatch() && w.form->arrivalWatch()->listening(); }, 10000));
    }
    w.office.addMessage(QStringLiteral("山田"), "a", "b");  // waiting, not yet announced
    std::unique_ptr<store::Database> other = w.office.openData();
    send(*other, QStringLiteral("小山田"));
    {
        store::Transaction undone(*other, store::Transaction::Kind::Write);
        send(*other, QStringLiteral("山田"));
    }
    QTest::qWait(500);
    EXPECT_TRUE(w.prompts.messages.isEmpty());
    w.form->Chk1->click();
    send(*other, QStringLiteral("山田"));
    QTest::qWait(500);
    EXPECT_TRUE(w.prompts.messages.isEmpty());

    w.form->Chk1->click();
    send(*other, QStringLiteral("山田花子"));
    EXPECT_EQ(QTest::qWaitFor([&] { return !w.prompts.messages.isEmpty(); }, 1000), tells);
    EXPECT_EQ(w.form->Timer1->interval(), 65535);
}

// A listening connection that ends leaves the message sent meanwhile to the ticks, and listens
// again of its own.
TEST_P(WatchOnAServer, ALostListeningLeavesItToTheTicksAndListensAgain) {
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 10000));
    w.office.dropServerConnections();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listening(); }, 5000));
    std::unique_ptr<store::Database> other = w.office.openData();
    send(*other, QStringLiteral("山田"));
    QTest::qWait(1000);
    EXPECT_TRUE(w.prompts.messages.isEmpty());  // nobody heard it
    w.form->setWatchPeriod(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.prompts.messages.isEmpty(); }, 5000));

    w.form->setWatchPeriod(Form1::kWatchPeriod);
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);  // read: no more notices
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 10000));
    w.prompts.messages.clear();
    send(*other, QStringLiteral("山田"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.prompts.messages.isEmpty(); }, 1000));
    EXPECT_EQ(w.prompts.messages, QStringList{kNotice});
}

// A send heard of while a box is open shows nothing then, as a tick then would; the next tick
// brings it.
TEST_P(WatchOnAServer, ASendHeardWhileABoxIsOpenWaitsForTheNextTick) {
    start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening(); }, 10000));
    std::unique_ptr<store::Database> other = w.office.openData();
    w.prompts.whileOpen = [&](const QString&) {
        w.prompts.whileOpen = nullptr;
        send(*other, QStringLiteral("山田"));
        QTest::qWait(500);
    };
    w.form->Command2_Click();  // nothing typed: a message box
    QTest::qWait(500);
    EXPECT_EQ(w.prompts.messages, QStringList{QStringLiteral("未入力項目があります。")});
    tick();
    EXPECT_EQ(w.prompts.messages.count(kNotice), 1);
}
