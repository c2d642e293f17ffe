#include "ui/desktop/notifications.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QPointer>

#include "ui/prompts.h"

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The desktop entry and the icon's name in the icon theme, as the package installs them.
const QString kDesktopEntry = QStringLiteral("org.dulvane.dulvane");

// The program's icon as the "image-data" hint carries it: (iiibiiay), RGBA rows.
struct ImageData {
    QImage image;
};

}  // namespace

Q_DECLARE_METATYPE(ImageData)

namespace {

QDBusArgument& operator<<(QDBusArgument& out, const ImageData& data) {
    const QImage image = data.image.convertToFormat(QImage::Format_RGBA8888);
    out.beginStructure();
    out << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
        << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, ImageData& data) {
    int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
    bool alpha = false;
    QByteArray pixels;
    in.beginStructure();
    in >> width >> height >> stride >> alpha >> bits >> channels >> pixels;
    in.endStructure();
    data.image = QImage(reinterpret_cast<const uchar*>(pixels.constData()), width, height, stride,
                        QImage::Format_RGBA8888)
                     .copy();
    return in;
}

// A text for a service that reads the body as markup.
QString asMarkup(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

namespace desktop {

Notice noticeFor(const store::memo::Unread& unread) {
    Notice notice;
    notice.summary = QStringLiteral("新しい伝言が %1 件あります").arg(unread.count);
    const QString firstLine = unread.memo.section(u'\n', 0, 0).remove(u'\r');
    notice.body = QStringLiteral("%1 様　%2\n%3").arg(unread.caller, unread.receivedAt, firstLine);
    // Critical while one of the unread messages is urgent: it stays until dismissed.
    notice.urgency = unread.urgent ? 2 : 1;
    return notice;
}

Notifications::Notifications(QIcon icon, QObject* parent)
    : QObject(parent), icon_(std::move(icon)) {
    qDBusRegisterMetaType<ImageData>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                SLOT(Notice_ActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                SLOT(Notice_Closed(uint, uint)));
}

void Notifications::show(const Notice& notice, std::function<void()> instead) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        instead();
        return;
    }
    // The body is escaped for a service that reads markup, so that a caller or a text with
    // "<" or "&" is shown as typed.
    auto* asked = new QDBusPendingCallWatcher(
        bus.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                     QStringLiteral("GetCapabilities"))),
        this);
    connect(asked, &QDBusPendingCallWatcher::finished, this,
            [this, notice, instead](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<QStringList> reply = *call;
                if (reply.isError()) {
                    instead();
                    return;
                }
                notify(notice, reply.value().contains(QStringLiteral("body-markup")), instead);
            });
}

void Notifications::notify(const Notice& notice, bool markup,
                           const std::function<void()>& instead) {
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(notice.urgency));
    hints.insert(QStringLiteral("desktop-entry"), kDesktopEntry);
    if (!icon_.isNull()) {
        hints.insert(QStringLiteral("image-data"),
                     QVariant::fromValue(ImageData{icon_.pixmap(64).toImage()}));
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    message << programTitle() << uint(shown_) << kDesktopEntry << notice.summary
            << (markup ? asMarkup(notice.body) : notice.body)
            << QStringList{QStringLiteral("default"), QStringLiteral("開く")} << hints << int(-1);
    auto* sent =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    connect(sent, &QDBusPendingCallWatcher::finished, this,
            [this, instead](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError()) {
                    instead();
                    return;
                }
                shown_ = reply.value();
            });
}

void Notifications::Notice_ActionInvoked(uint id, const QString& action) {
    if (id != 0 && id == shown_ && action == QStringLiteral("default")) {
        emit opened();
    }
}

void Notifications::Notice_Closed(uint id, uint) {
    // A notice that is gone is not replaced: the next one is a new one.
    if (id == shown_) {
        shown_ = 0;
    }
}

}  // namespace desktop
