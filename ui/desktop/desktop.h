#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>

#include "ui/desktop/notifications.h"
#include "ui/main/watch_notices.h"

class Form1;
class Prompts;
class QAction;
class QMenu;
struct Module1;

namespace desktop {

// The program on the desktop: its icon in the notification area with the unread count and a
// menu, and desktop notifications in the watch's box's place when the user chose them. Where
// the desktop has no notification area there is no icon and the window is all there is.
class Desktop : public QObject, public WatchNotices {
    Q_OBJECT

public:
    Desktop(Form1& form, Module1& state, Prompts& prompts, QObject* parent = nullptr);
    ~Desktop() override;

    // The icon in the notification area; null where the desktop has none.
    QSystemTrayIcon* Tray1() const { return tray_.get(); }
    // The icon's menu, made also where there is no notification area.
    QMenu* Mnu_Tray() const { return menu_.get(); }
    Notifications& notifications() { return notifications_; }

    bool wantsCount() const override;
    void counted(const store::memo::Unread& unread) override;
    bool tell(const store::memo::Unread& unread, std::function<void()> boxInstead) override;

    // The menu's entries and the icon's click.
    void Mnu_List_Click();
    void Mnu_Watch_Click(bool on);
    void Mnu_Notices_Click(bool on);
    void Mnu_End_Click();
    void Tray1_Activated(QSystemTrayIcon::ActivationReason reason);

private:
    // The main window in front, as the user left it.
    void raiseWindow();
    // Whether the window would take a click now: no box or window waits modally and no
    // operation on the data waits.
    bool windowFree() const;

    Form1& form_;
    Module1& state_;
    Prompts& prompts_;
    std::unique_ptr<QMenu> menu_;
    QAction* list_;
    QAction* watch_;
    QAction* notices_;
    QAction* end_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    Notifications notifications_;
};

}  // namespace desktop
