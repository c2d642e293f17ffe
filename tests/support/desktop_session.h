#pragma once

#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QVariantMap>
#include <memory>
#include <vector>

// A desktop of the tests' own: an X server (Xvfb) and a session bus (dbus-daemon) started for the
// test process and removed after it, with a notification area (a status-notifier watcher) and a
// notification service on the bus, served on a thread of their own.
namespace testing_support {

// One Notify call as the service received it.
struct NotifyCall {
    QString appName;
    uint replacesId = 0;
    QString summary;
    QString body;
    QStringList actions;
    int urgency = -1;  // the "urgency" hint; -1 without one
    bool hasImage = false;
    uint id = 0;  // the id the service answered
};

class NotificationService;
class StatusNotifierWatcher;

class DesktopSession {
public:
    // Starts the X server and the session bus and points DISPLAY and DBUS_SESSION_BUS_ADDRESS at
    // them. Call before the QApplication is made.
    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Puts the watcher and the notification service on the bus. Call once the QApplication
    // exists.
    void serve();

    // The notification service leaves the bus, or comes back.
    void removeNotificationService();
    void restoreNotificationService();

    std::vector<NotifyCall> notifyCalls() const;
    void clearNotifyCalls();
    // The service emits ActionInvoked(id, action).
    void invokeAction(uint id, const QString& action);
    // The bus names of the status-notifier items registered with the watcher.
    QStringList registeredItems() const;

private:
    QTemporaryDir folder_;  // the bus's configuration and socket
    QProcess x_;
    QProcess bus_;
    QString busAddress_;
    QThread thread_;
    NotificationService* notifications_ = nullptr;
    StatusNotifierWatcher* watcher_ = nullptr;
};

// The session the test process runs in (desktop_main.cpp).
DesktopSession& desktopSession();

}  // namespace testing_support
