#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/module1.h"
#include "store/listed_message.h"
#include "store/memo_table.h"
#include "store/message.h"
#include "ui/main/watch_notices.h"
#include "ui/off_window.h"
#include "ui_Form1.h"

class Frm_Memo2;
class QAction;
class QMenu;
class Prompts;

// The main window: message entry, the message grid and the new-message watch.
// Its handlers are split by concern: start-up, settings, end and the failure log (form1.cpp),
// entry (form1_entry.cpp), lists (form1_lists.cpp), grid row actions (form1_rows.cpp), the
// marks and the ready phrases (form1_marks.cpp), watch (form1_watch.cpp). Every operation on the
// data runs on the data thread while the window waits for it (ui::offWindow), one at a time.
class Form1 : public QWidget, public Ui::Form1 {
    Q_OBJECT

public:
    // The watch's period while it is on, in milliseconds.
    static constexpr int kWatchPeriod = 65535;
    // How long the watch's ticks may fail in a row before the user is told.
    static constexpr std::chrono::milliseconds kWatchFailureBound = std::chrono::minutes(5);

    Form1(Module1& state, Prompts& prompts, QWidget* parent = nullptr);
    ~Form1() override;

    // The load handler: runs before the window first shows. Throws store::Error when the
    // settings file cannot be used; the program then ends.
    void Form_Load();

    // Entry: reset and send.
    void Cmd_Clear_Click();
    void Command2_Click();
    // Lists.
    void Command1_Click();
    void Command3_Click();
    // Settings and end.
    void Cmd_Set_Click();
    void Cmd_END_Click();
    // Grid row actions.
    void SS1_Click(int Col, int Row);
    void SS1_DblClick(int Col, int Row);
    // The row's menu (form1_marks.cpp): 開く, 対応済みにする or 未対応に戻す, 削除.
    void SS1_ContextMenu(int Row, const QPoint& globalPos);
    // The same menu, made for the row, for the caller to show; null for a row that stands for
    // no message.
    std::unique_ptr<QMenu> rowMenu(int Row);
    // Marks the row's message handled now, or not handled.
    void markHandled(int Row, bool handled);
    // Cmd_Phrase opens the menu of ready phrases below itself; the phrase chosen goes into the
    // memo text.
    void Cmd_Phrase_Click();
    void Cmd_Phrase_Triggered(QAction* action);
    QMenu* phraseMenu() const { return phraseMenu_; }
    // New-message watch.
    void Chk1_Click();
    void Timer1_Timer();
    // A message sent from another workstation, heard at once where the data can tell of sends
    // (store::Capabilities::arrivalNotices): the tick's check runs now when it may be the user's.
    void Timer1_Arrival(const store::Arrival& arrival);

    QTimer* Timer1;
    // The last received or sent listing, until the next listing replaces it.
    store::Listing Rs_Main;

    // The memo viewer while it is open.
    Frm_Memo2* memoViewer() const;

    // The settings window shown modally through the prompts.
    void showSettingsWindow();

    // What the watch tells beyond its box; none (the default) leaves the box alone.
    void setWatchNotices(WatchNotices* notices) { notices_ = notices; }

    // Tests shorten the watch's period instead of waiting a minute.
    void setWatchPeriod(int ms);
    // ... and the time its ticks may fail before the user is told.
    void setWatchFailureBound(std::chrono::milliseconds bound) { watchFailureBound_ = bound; }
    // The listening for sends; null where the data cannot tell of them, or none is open.
    const store::ArrivalWatch* arrivalWatch() const { return arrivals_.get(); }

signals:
    // Cmd_END: the program ends.
    void endRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs work, an operation on the data, off the window (ui::offWindow).
    template <class Work>
    auto offWindow(Work work) {
        return ui::offWindow(state_.dataThread, std::move(work));
    }
    store::Database& dataFile();
    // The reset's steps: the pick lists read, then the fields reset with them. A failure to
    // read passes to the caller, with nothing reset. The ready phrases are read on the way; a
    // failure to read them leaves the phrase menu empty and is only logged.
    void resetEntry();
    // After the open: what the data holds of the additions, offered where it does; says once
    // which command adds the rest (form1_marks.cpp).
    void learnAdditions();
    void fillPhraseMenu(const QStringList& phrases);
    // The reset's steps on the entry fields and the grid. A pick list for which lists holds
    // none (not read, or its column gave no row) stays as it was.
    void resetFields(const store::memo::PickLists& lists);
    // What both lists do (form1_lists.cpp).
    using Listing = std::function<store::Listing(store::Database&, const QString&)>;
    void listMessages(const QString& operation, const Listing& read, store::NameColumn column6,
                      const QString& none,
                      const std::function<void(std::int64_t highestListed)>& afterShown);
    bool requireName();
    // The message grid row Row stands for; none for a row without a number.
    std::optional<store::memo::ListedMessage> listedAt(int Row) const;
    // The memo viewer closes when it shows the message given (deleted).
    void closeViewerShowing(const store::memo::ListedMessage& message);
    // A listed row whose number another message holds now (handed out again after a backup was
    // put back): logged as operation's, with notDone, and the user told to list again.
    void refuseStaleRow(const QString& operation, std::int64_t no, const QString& notDone,
                        const QString& told);
    void fillPickList(QComboBox* box, const std::optional<QStringList>& names);

    // The failure log (form1_failures.cpp): a failed operation on the data file.
    void logFailure(const QString& operation, const std::exception& failure) const;
    QString dataLocation() const;
    // The poll's answer, or what it failed with (form1_watch.cpp).
    void watchAnswered(const store::memo::Unread& unread, bool counted,
                       const std::exception_ptr& failure);
    // The watch's box, unless a box is open or an operation waits.
    void watchBox();
    // The watch's runs of failed ticks.
    void watchFailed(const std::exception& failure);
    void watchSucceeded();
    // Starts listening for sends on the data just opened, where it can tell of them.
    void listenForArrivals();

    Module1& state_;
    Prompts& prompts_;
    QPointer<Frm_Memo2> viewer_;
    // What the open data holds of the additions (none until learnAdditions).
    store::Additions additions_;
    QMenu* phraseMenu_ = nullptr;
    // The listed message the viewer shows; none when its row stood for no message.
    std::optional<store::memo::ListedMessage> viewerShows_;
    int watchFailures_ = 0;  // failed ticks since the last one that worked
    int watchPeriod_ = kWatchPeriod;
    std::chrono::milliseconds watchFailureBound_ = kWatchFailureBound;
    // The first failed tick of the current run of failures; empty after a tick that worked.
    std::optional<std::chrono::steady_clock::time_point> watchFailingSince_;
    bool watchFailureTold_ = false;
    WatchNotices* notices_ = nullptr;
    std::unique_ptr<store::ArrivalWatch> arrivals_;
};
