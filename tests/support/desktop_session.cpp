#include "support/desktop_session.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <csignal>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QMutexLocker>

namespace testing_support {

namespace {
const QString kPeerConnection = QStringLiteral("desktop-peer");
const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// The first line a process writes, waited for.
QString firstLine(QProcess& process, const char* what) {
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << what << " does not start: " << process.errorString().toStdString();
        return {};
    }
    while (!process.canReadLine() && process.waitForReadyRead(10000)) {
    }
    const QString line = QString::fromUtf8(process.readLine()).trimmed();
    if (line.isEmpty()) {
        ADD_FAILURE() << what << " says nothing: " << process.readAllStandardError().toStdString();
    }
    return line;
}

void end(QProcess& process) {
    if (process.state() != QProcess::NotRunning) {
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
}
}  // namespace

// The notification service: records every Notify and answers with its ids.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    mutable QMutex mutex;
    std::vector<NotifyCall> calls;
    uint lastId = 0;

public slots:
    QStringList GetCapabilities() {
        return {QStringLiteral("body"), QStringLiteral("actions"), QStringLiteral("body-markup")};
    }
    uint Notify(const QString& appName, uint replacesId, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int) {
        const QMutexLocker lock(&mutex);
        NotifyCall call{appName,
                        replacesId,
                        summary,
                        body,
                        actions,
                        -1,
                        hints.contains(QStringLiteral("image-data")),
                        0};
        if (hints.contains(QStringLiteral("urgency"))) {
            call.urgency = hints.value(QStringLiteral("urgency")).toInt();
        }
        call.id = replacesId != 0 ? replacesId : ++lastId;
        calls.push_back(call);
        return call.id;
    }
    void CloseNotification(uint id) { emit NotificationClosed(id, 3); }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
        vendor = QStringLiteral("tests");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("tests");
    }
    void invoke(uint id, const QString& action) { emit ActionInvoked(id, action); }

signals:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);
};

// The notification area: a status-notifier watcher with a host registered, taking items.
class StatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        const QMutexLocker lock(&mutex);
        return registered;
    }
    mutable QMutex mutex;
    QStringList registered;

public slots:
    void RegisterStatusNotifierItem(const QString& service) {
        {
            const QMutexLocker lock(&mutex);
            registered << service;
        }
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
};

DesktopSession::DesktopSession() {
    // Both end with the test process, however it ends.
    for (QProcess* process : {&x_, &bus_}) {
        process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    }
    x_.setProgram(QStringLiteral("Xvfb"));
    x_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                     QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                     QStringLiteral("1024x768x24")});
    x_.start();
    const QString display = firstLine(x_, "Xvfb");
    qputenv("DISPLAY", (u':' + display).toUtf8());

    // A bus of the tests' own that starts no service itself: a notification daemon installed
    // on the machine never answers in the tests' service's place.
    QFile config(folder_.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(QStringLiteral("<busconfig><type>session</type>"
                                    "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                    "<policy context=\"default\"><allow send_destination=\"*\" "
                                    "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                    "<allow own=\"*\"/></policy></busconfig>")
                         .arg(folder_.path())
                         .toUtf8()) < 0) {
        ADD_FAILURE() << "cannot write the bus's configuration";
    }
    config.close();
    bus_.setProgram(QStringLiteral("dbus-daemon"));
    bus_.setArguments({QStringLiteral("--config-file=") + config.fileName(),
                       QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    bus_.start();
    busAddress_ = firstLine(bus_, "dbus-daemon");
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress_.toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
}

DesktopSession::~DesktopSession() {
    QDBusConnection::disconnectFromBus(kPeerConnection);
    if (notifications_ != nullptr) {
        notifications_->deleteLater();
        watcher_->deleteLater();
    }
    thread_.quit();
    thread_.wait();
    end(bus_);
    end(x_);
}

void DesktopSession::serve() {
    notifications_ = new NotificationService;
    watcher_ = new StatusNotifierWatcher;
    QDBusConnection peer = QDBusConnection::connectToBus(busAddress_, kPeerConnection);
    const auto exported = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                          QDBusConnection::ExportAllProperties;
    EXPECT_TRUE(peer.registerObject(QStringLiteral("/StatusNotifierWatcher"), watcher_, exported));
    EXPECT_TRUE(peer.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                    notifications_, exported));
    // Served on their own thread, so that the program's blocking questions get answers.
    notifications_->moveToThread(&thread_);
    watcher_->moveToThread(&thread_);
    thread_.start();
    EXPECT_TRUE(peer.registerService(kWatcher));
    restoreNotificationService();
}

void DesktopSession::removeNotificationService() {
    EXPECT_TRUE(QDBusConnection(kPeerConnection).unregisterService(kNotifications));
}

void DesktopSession::restoreNotificationService() {
    EXPECT_TRUE(QDBusConnection(kPeerConnection).registerService(kNotifications));
}

std::vector<NotifyCall> DesktopSession::notifyCalls() const {
    const QMutexLocker lock(&notifications_->mutex);
    return notifications_->calls;
}

void DesktopSession::clearNotifyCalls() {
    const QMutexLocker lock(&notifications_->mutex);
    notifications_->calls.clear();
}

void DesktopSession::invokeAction(uint id, const QString& action) {
    QMetaObject::invokeMethod(notifications_, "invoke", Qt::QueuedConnection, Q_ARG(uint, id),
                              Q_ARG(QString, action));
}

QStringList DesktopSession::registeredItems() const {
    return watcher_->items();
}

}  // namespace testing_support

#include "desktop_session.moc"
