#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <functional>

#include "store/memo_table.h"

namespace desktop {

// A notice of waiting messages as it goes to the desktop.
struct Notice {
    QString summary;
    QString body;  // plain text
    // The freedesktop urgency level: 0 low, 1 normal, 2 critical.
    unsigned char urgency = 1;
};
// The notice for what the watch found. The one place that chooses its urgency.
Notice noticeFor(const store::memo::Unread& unread);

// Desktop notifications through the notification service on the session bus
// (org.freedesktop.Notifications): at most one of the program's at a time, each replacing the
// last, with the default action 開く.
class Notifications : public QObject {
    Q_OBJECT

public:
    explicit Notifications(QIcon icon, QObject* parent = nullptr);

    // Shows notice in place of the last one. When no service answers (no session bus, no
    // service, an error), instead is called: at once without a bus, else later from the event
    // loop.
    void show(const Notice& notice, std::function<void()> instead);

    // The id the service gave the notice shown; 0 while none is shown.
    unsigned shownId() const { return shown_; }

signals:
    // The user took the default action of the notice shown.
    void opened();

private slots:
    void Notice_ActionInvoked(uint id, const QString& action);
    void Notice_Closed(uint id, uint reason);

private:
    void notify(const Notice& notice, bool markup, const std::function<void()>& instead);

    QIcon icon_;
    unsigned shown_ = 0;
};

}  // namespace desktop
