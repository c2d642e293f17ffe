// The program on a desktop with a notification area and a notification service: the icon's
// count, menu and click, and desktop notifications in the watch's box's place.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "support/desktop_session.h"
#include "support/main_window.h"
#include "ui/desktop/desktop.h"

using testing_support::desktopSession;
using testing_support::Workstation;

namespace {

const QString kNotice = QStringLiteral("新規メッセージがあります。");

class OnTheDesktop : public testing::Test {
protected:
    void SetUp() override { desktopSession().clearNotifyCalls(); }
    void TearDown() override {
        desktop.reset();
        w.form.reset();
    }

    // The program as it starts: the window loaded, then its place on the desktop.
    void start() {
        desktop.reset();
        w.form.reset();
        w.start();
        desktop = std::make_unique<desktop::Desktop>(*w.form, w.state, w.prompts);
        w.form->setWatchNotices(desktop.get());
    }
    QAction* entry(const QString& text) {
        for (QAction* action : desktop->Mnu_Tray()->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
        ADD_FAILURE() << "no menu entry " << text.toStdString();
        return nullptr;
    }
    // What the notification area reads of the icon: a call to its item over the bus.
    QDBusMessage callItem(const QString& interface, const QString& method,
                          const QVariantList& args) {
        const QStringList items = desktopSession().registeredItems();
        if (items.isEmpty()) {
            ADD_FAILURE() << "no item registered";
            return {};
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            items.last(), QStringLiteral("/StatusNotifierItem"), interface, method);
        call.setArguments(args);
        // Asked without blocking: the icon answers from this thread's event loop.
        QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 10000));
        return pending.reply();
    }
    QString tooltipTitle() {
        const QDBusMessage reply =
            callItem(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                     {QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("ToolTip")});
        if (reply.arguments().isEmpty()) {
            return QStringLiteral("<no answer>");
        }
        // (s a(iiay) s s): icon name, pictures, title, text.
        const QDBusArgument tip =
            reply.arguments().first().value<QDBusVariant>().variant().value<QDBusArgument>();
        QString icon, title, text;
        tip.beginStructure();
        tip >> icon;
        tip.beginArray();
        while (!tip.atEnd()) {
            int width = 0, height = 0;
            QByteArray pixels;
            tip.beginStructure();
            tip >> width >> height >> pixels;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> text;
        tip.endStructure();
        return title;
    }
    std::vector<testing_support::NotifyCall> notified(size_t count) {
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return desktopSession().notifyCalls().size() >= count; }, 10000));
        return desktopSession().notifyCalls();
    }

    Workstation w;
    std::unique_ptr<desktop::Desktop> desktop;
};

}  // namespace

TEST_F(OnTheDesktop, TheIconCountsTheUnreadMessagesAndItsMenuWorksTheWindow) {
    w.prepare(QStringLiteral("山田"), w.office.dataPath());
    start();
    ASSERT_NE(desktop->Tray1(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([] { return !desktopSession().registeredItems().isEmpty(); }));
    QStringList entries;
    for (QAction* action : desktop->Mnu_Tray()->actions()) {
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(entries, (QStringList{"受信一覧", "新規メッセージを通知する",
                                    "デスクトップ通知を使う", "-", "終了"}));
    EXPECT_TRUE(entry("新規メッセージを通知する")->isChecked());
    EXPECT_FALSE(entry("デスクトップ通知を使う")->isChecked());

    w.office.addMessage(QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    w.office.addMessage(QStringLiteral("山田太郎"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    w.office.addMessage(QStringLiteral("田中"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    w.tick();
    EXPECT_EQ(tooltipTitle(), QStringLiteral("DULVANE 未読 2 件"));
    // Without desktop notifications the box tells, as ever.
    EXPECT_EQ(w.prompts.messages, QStringList{kNotice});
    EXPECT_TRUE(desktopSession().notifyCalls().empty());

    // The watch's switch: the box and the entry show one state, both ways.
    QTest::mouseClick(w.form->Chk1, Qt::LeftButton);
    EXPECT_FALSE(entry("新規メッセージを通知する")->isChecked());
    EXPECT_FALSE(w.form->Timer1->isActive());
    entry("新規メッセージを通知する")->trigger();
    EXPECT_TRUE(w.form->Chk1->isChecked());
    EXPECT_TRUE(w.form->Timer1->isActive());

    // A click on the icon brings the window back; 受信一覧 lists and marks read.
    w.form->hide();
    callItem(QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"), {0, 0});
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.form->isVisible(); }, 10000));
    w.form->hide();
    entry("受信一覧")->trigger();
    EXPECT_TRUE(w.form->isVisible());
    const QStringList rows = w.office.rows();
    EXPECT_FALSE(rows[0].endsWith(QStringLiteral("<null>")));
    EXPECT_FALSE(rows[1].endsWith(QStringLiteral("<null>")));
    EXPECT_TRUE(rows[2].endsWith(QStringLiteral("<null>")));  // 田中's
    w.tick();
    EXPECT_EQ(tooltipTitle(), QStringLiteral("DULVANE 未読 0 件"));

    QSignalSpy ended(w.form.get(), &Form1::endRequested);
    entry("終了")->trigger();
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(OnTheDesktop, NotificationsTakeTheBoxsPlaceReplaceEachOtherAndOpenTheList) {
    w.prepare(QStringLiteral("山田"), w.office.dataPath());
    start();
    ASSERT_FALSE(w.state.desktopNotices);  // a settings file without the choice: off
    entry("デスクトップ通知を使う")->trigger();
    start();  // the choice is kept in the settings file
    ASSERT_TRUE(entry("デスクトップ通知を使う")->isChecked());

    w.office.addMessage(QStringLiteral("山田"), QStringLiteral("<b>佐藤 & Co"),
                        QStringLiteral("鈴木"), QStringLiteral("1行目\n2行目"), std::nullopt,
                        QStringLiteral("2026/12/08 10:15"));
    w.tick();
    const testing_support::NotifyCall first = notified(1).at(0);
    EXPECT_EQ(first.appName, QStringLiteral("dulvane"));
    EXPECT_EQ(first.summary, QStringLiteral("新しい伝言が 1 件あります"));
    EXPECT_EQ(first.body, QStringLiteral("&lt;b&gt;佐藤 &amp; Co 様　2026/12/08 10:15\n1行目"));
    EXPECT_EQ(first.actions, (QStringList{"default", "開く"}));
    EXPECT_EQ(first.urgency, 1);
    EXPECT_TRUE(first.hasImage);
    EXPECT_EQ(first.replacesId, 0u);
    EXPECT_TRUE(w.prompts.messages.isEmpty());

    w.office.addMessage(QStringLiteral("山田"), QStringLiteral("高橋"), QStringLiteral("鈴木"));
    w.tick();
    const testing_support::NotifyCall second = notified(2).at(1);
    EXPECT_EQ(second.summary, QStringLiteral("新しい伝言が 2 件あります"));
    EXPECT_EQ(second.replacesId, first.id);

    // The notice's default action opens the received list, which marks both read.
    w.form->hide();
    desktopSession().invokeAction(second.id, QStringLiteral("default"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.form->isVisible(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !w.office.rows()[0].endsWith(QStringLiteral("<null>")); }, 10000));
    EXPECT_FALSE(w.office.rows()[1].endsWith(QStringLiteral("<null>")));
}

TEST_F(OnTheDesktop, WithoutANotificationServiceTheBoxTells) {
    w.prepare(QStringLiteral("山田"), w.office.dataPath());
    start();
    entry("デスクトップ通知を使う")->trigger();
    desktopSession().removeNotificationService();
    w.office.addMessage(QStringLiteral("山田"), QStringLiteral("佐藤"), QStringLiteral("鈴木"));
    w.tick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.prompts.messages.isEmpty(); }, 10000));
    EXPECT_EQ(w.prompts.messages, QStringList{kNotice});
    desktopSession().restoreNotificationService();
    EXPECT_TRUE(desktopSession().notifyCalls().empty());
}
