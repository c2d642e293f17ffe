#include "ui/desktop/desktop.h"

#include <QApplication>
#include <QMenu>

#include "app/settings_store.h"
#include "store/error.h"
#include "ui/main/form1.h"
#include "ui/off_window.h"
#include "ui/prompts.h"

namespace desktop {

Desktop::Desktop(Form1& form, Module1& state, Prompts& prompts, QObject* parent)
    : QObject(parent),
      form_(form),
      state_(state),
      prompts_(prompts),
      menu_(std::make_unique<QMenu>()),
      notifications_(form.windowIcon()) {
    menu_->setObjectName(QStringLiteral("Mnu_Tray"));
    list_ = menu_->addAction(QStringLiteral("受信一覧"));
    watch_ = menu_->addAction(QStringLiteral("新規メッセージを通知する"));
    notices_ = menu_->addAction(QStringLiteral("デスクトップ通知を使う"));
    menu_->addSeparator();
    end_ = menu_->addAction(QStringLiteral("終了"));
    watch_->setCheckable(true);
    watch_->setChecked(form_.Chk1->isChecked());
    notices_->setCheckable(true);
    notices_->setChecked(state_.desktopNotices);

    connect(list_, &QAction::triggered, this, &Desktop::Mnu_List_Click);
    connect(watch_, &QAction::triggered, this, &Desktop::Mnu_Watch_Click);
    connect(notices_, &QAction::triggered, this, &Desktop::Mnu_Notices_Click);
    connect(end_, &QAction::triggered, this, &Desktop::Mnu_End_Click);
    // The box and the menu's entry show one state, whichever the user changed.
    connect(form_.Chk1, &QCheckBox::toggled, watch_, &QAction::setChecked);
    connect(&notifications_, &Notifications::opened, this, &Desktop::Mnu_List_Click);

    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_ = std::make_unique<QSystemTrayIcon>(form_.windowIcon());
        tray_->setToolTip(QStringLiteral("DULVANE"));
        tray_->setContextMenu(menu_.get());
        connect(tray_.get(), &QSystemTrayIcon::activated, this, &Desktop::Tray1_Activated);
        tray_->show();
    }
}

Desktop::~Desktop() {
    form_.setWatchNotices(nullptr);
}

bool Desktop::wantsCount() const {
    return tray_ != nullptr || state_.desktopNotices;
}

void Desktop::counted(const store::memo::Unread& unread) {
    if (tray_) {
        tray_->setToolTip(QStringLiteral("DULVANE 未読 %1 件").arg(unread.count));
    }
}

bool Desktop::tell(const store::memo::Unread& unread, std::function<void()> boxInstead) {
    if (!state_.desktopNotices) {
        return false;
    }
    notifications_.show(noticeFor(unread), std::move(boxInstead));
    return true;
}

void Desktop::raiseWindow() {
    if (form_.isMinimized()) {
        form_.showNormal();
    }
    form_.show();
    form_.raise();
    form_.activateWindow();
}

bool Desktop::windowFree() const {
    return !prompts_.isOpen() && QApplication::activeModalWidget() == nullptr &&
           !state_.dataThread.callerWaits();
}

void Desktop::Mnu_List_Click() {
    raiseWindow();
    // While a box waits for the user the window takes no click: neither does this.
    if (windowFree()) {
        form_.Command1_Click();
    }
}

void Desktop::Mnu_Watch_Click(bool on) {
    if (form_.Chk1->isChecked() != on) {
        form_.Chk1->setChecked(on);
        form_.Chk1_Click();
    }
}

void Desktop::Mnu_Notices_Click(bool on) {
    if (!windowFree()) {
        notices_->setChecked(state_.desktopNotices);
        raiseWindow();
        return;
    }
    try {
        ui::offWindow(state_.dataThread,
                      [&state = state_, on] { app::saveDesktopNotices(state, on); });
    } catch (const store::Error& e) {
        notices_->setChecked(state_.desktopNotices);
        prompts_.inform(
            QStringLiteral("設定を保存できませんでした。設定ファイルに書き込めません。\n%1")
                .arg(e.report()));
    }
}

void Desktop::Mnu_End_Click() {
    if (windowFree()) {
        form_.Cmd_END_Click();
    } else {
        raiseWindow();
    }
}

void Desktop::Tray1_Activated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
        raiseWindow();
    }
}

}  // namespace desktop
