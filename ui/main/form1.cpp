#include "ui/main/form1.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <limits>

#include "app/failure_log.h"
#include "app/settings_store.h"
#include "ui/main/texts.h"
#include "ui/prompts.h"
#include "ui/settings/frm_set.h"
#include "ui/viewer/frm_memo2.h"

Form1::Form1(Module1& state, Prompts& prompts, QWidget* parent)
    : QWidget(parent), state_(state), prompts_(prompts) {
    setupUi(this);
    // The name boxes take names of any length, exactly as typed: no completion from the pick
    // list, so a typed prefix of a listed name stays a prefix (picking from the list still works).
    for (QComboBox* box : {Cmb_To, Cmb_From, Cmb_My}) {
        box->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
        box->setCompleter(nullptr);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kWatchPeriod);
    Timer1->start();

    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Cmd_Clear, &QPushButton::clicked, this, &Form1::Cmd_Clear_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Cmd_Set, &QPushButton::clicked, this, &Form1::Cmd_Set_Click);
    connect(Cmd_END, &QPushButton::clicked, this, &Form1::Cmd_END_Click);
    connect(Chk1, &QCheckBox::clicked, this, &Form1::Chk1_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(SS1, &SpreadGrid::Click, this, &Form1::SS1_Click);
    connect(SS1, &SpreadGrid::DblClick, this, &Form1::SS1_DblClick);
    connect(SS1, &SpreadGrid::ContextMenu, this, &Form1::SS1_ContextMenu);

    // The marks are offered once the data is known to hold them (learnAdditions).
    Chk_Urgent->setEnabled(false);
    phraseMenu_ = new QMenu(this);
    phraseMenu_->setObjectName(QStringLiteral("phraseMenu"));
    connect(Cmd_Phrase, &QToolButton::clicked, this, &Form1::Cmd_Phrase_Click);
    connect(phraseMenu_, &QMenu::triggered, this, &Form1::Cmd_Phrase_Triggered);
    // Until the reset reads them (none when the data cannot be opened).
    fillPhraseMenu({});
}

Form1::~Form1() {
    delete viewer_.data();
}

void Form1::Form_Load() {
    SS1->clear();
    TxT_Memo->setText(texts::defaultMemo());

    // A settings file that cannot be used is not caught here: the program cannot start.
    offWindow([&state = state_] { app::loadSettings(state); });

    if (state_.My_Folder.isEmpty()) {
        showSettingsWindow();
    }

    try {
        offWindow([&state = state_] { app::openDataFile(state); });
        listenForArrivals();
        resetEntry();
        Cmb_My->setEditText(state_.My_Name);
        learnAdditions();
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("start-up open"), e);
        prompts_.inform(
            tr("データベースをオープンできません。データベースの場所を確認して下さい。"));
        showSettingsWindow();
    }
}

void Form1::showSettingsWindow() {
    // Created afresh for each showing and discarded when it closes.
    Frm_set window(state_, prompts_);
    prompts_.showModal(window);
}

void Form1::Cmd_Set_Click() {
    showSettingsWindow();
}

void Form1::Cmd_END_Click() {
    Timer1->stop();
    delete viewer_.data();
    hide();
    emit endRequested();
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing the window through its frame ends the program as "終了" does.
    Cmd_END_Click();
    event->accept();
}

// The failure log: what went wrong with the data file, for whoever looks after the program.
// The user sees each operation's own message; the log keeps the engine's report.
QString Form1::dataLocation() const {
    // The file the program works on, or, when none is open, the path it could not open.
    return state_.Db_Data ? state_.Db_Data->path() : state_.My_Folder;
}

void Form1::logFailure(const QString& operation, const std::exception& failure) const {
    app::logFailure(state_.logPath, operation, dataLocation(), failure);
}
