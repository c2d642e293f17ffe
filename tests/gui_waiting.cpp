// The window while an operation waits for another workstation's lock on the file, or for a
// server that stopped answering: it repaints, refuses input and starts nothing else.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "store/schema.h"
#include "support/faults.h"
#include "support/main_window.h"
#include "support/processes.h"
#include "support/server_cluster.h"

using namespace testing_support;

class WaitingWindow : public OnEachEngine {
protected:
    void SetUp() override {
        OnEachEngine::SetUp();
        if (IsSkipped()) {
            return;
        }
        w.state.logPath = w.office.path(QStringLiteral("dulvane.log"));
        if (GetParam() == Engine::File) {
            w.state.Ws_Main = store::Workspace{std::chrono::milliseconds(2000)};
            w.startAs(QStringLiteral("山田"));
        } else {
            cluster.emplace();
            ASSERT_TRUE(cluster->failure().isEmpty()) << cluster->failure().toStdString();
            store::schema::createDataFile(cluster->uri());
            w.prepare(QStringLiteral("山田"), cluster->uri(), false);
            w.start();
        }
        ASSERT_TRUE(w.state.Db_Data);
    }

    // Another workstation holds the data from now on: its exclusive lock on the file, or the
    // server stopped.
    void hold() {
        if (cluster) {
            cluster->freeze();
            return;
        }
        holder.start(QStringLiteral(DB_PEER_PATH),
                     {QStringLiteral("hold-exclusive"), w.office.dataPath()});
        ASSERT_TRUE(holder.waitForReadyRead(10000));
        ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));
    }

    void TearDown() override {
        if (cluster) {
            cluster->thaw();
        }
        if (holder.state() != QProcess::NotRunning) {
            holder.closeWriteChannel();
            holder.waitForFinished(10000);
        }
    }

    std::optional<ServerCluster> cluster;  // the server's case: a server of the test's own
    Workstation w;                         // its settings and files in a temporary folder
    QProcess holder;                       // the file's case: the other workstation
};
DULVANE_ON_EACH_ENGINE(WaitingWindow);

TEST_P(WaitingWindow, RepaintsRefusesInputAndSkipsTicksUntilTheListHasFailed) {
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    w.form->Txt_Tel->setText(QStringLiteral("03"));
    ASSERT_NO_FATAL_FAILURE(hold());
    w.form->setWatchPeriod(20);
    QSignalSpy ticks(w.form->Timer1, &QTimer::timeout);
    QSignalSpy ended(w.form.get(), &Form1::endRequested);

    bool ranDuringTheWait = false;
    QImage picture;
    bool closed = true;
    QTimer::singleShot(300, [&] {
        ranDuringTheWait = true;
        picture = w.form->grab().toImage();
        QTest::keyClicks(w.form->Txt_Tel, QStringLiteral("999"));
        QTest::mouseClick(w.form->Command3, Qt::LeftButton);  // the sent list would run
        closed = w.form->close();
    });
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    w.form->Timer1->stop();

    EXPECT_TRUE(ranDuringTheWait);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(ticks.count(), 0);
    EXPECT_FALSE(closed);
    EXPECT_EQ(ended.count(), 0);
    // The list's own failure alone: no sent list, no tick's poll.
    EXPECT_EQ(w.prompts.shown, QStringList{QStringLiteral("データベース検索に失敗しました。")});
    const QStringList log = readLines(w.state.logPath);
    ASSERT_EQ(log.size(), 1);
    EXPECT_EQ(log[0].section(u'\t', 1, 1), QStringLiteral("received list"));
    // Nothing refused comes back later; the window takes input again.
    QCoreApplication::processEvents();
    EXPECT_EQ(w.form->Txt_Tel->text(), QStringLiteral("03"));
    QTest::keyClicks(w.form->Txt_Tel, QStringLiteral("4"));
    EXPECT_EQ(w.form->Txt_Tel->text(), QStringLiteral("034"));
    EXPECT_TRUE(w.form->close());
    EXPECT_EQ(ended.count(), 1);
}

TEST_P(WaitingWindow, APollThatWaitsLeavesTheWindowTakingInputAndAnActionWaitsForIt) {
    w.form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.form.get()));
    ASSERT_NO_FATAL_FAILURE(hold());
    w.form->Timer1_Timer();  // the poll waits for the data in the background
    ASSERT_TRUE(w.state.dataThread.busy());
    QTest::keyClicks(w.form->Txt_Tel, QStringLiteral("03"));
    EXPECT_EQ(w.form->Txt_Tel->text(), QStringLiteral("03"));
    // A list asked for meanwhile waits for the poll, then fails on its own; the poll's
    // failure stays silent.
    QTest::mouseClick(w.form->Command1, Qt::LeftButton);
    EXPECT_FALSE(w.state.dataThread.busy());
    EXPECT_EQ(w.prompts.shown, QStringList{QStringLiteral("データベース検索に失敗しました。")});
    const QStringList log = readLines(w.state.logPath);
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0].section(u'\t', 1, 1), QStringLiteral("watch"));
    EXPECT_EQ(log[1].section(u'\t', 1, 1), QStringLiteral("received list"));
}
