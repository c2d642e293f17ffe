// Start-up: the main window's load handler.
#include "app/settings_store.h"
#include "ui/main/form1.h"
#include "ui/main/texts.h"
#include "ui/prompts.h"

void Form1::Form_Load() {
    SS1->clear();
    TxT_Memo->setText(texts::defaultMemo());

    // A settings file that cannot be used is not caught here: the program cannot start.
    app::loadSettings(state_);

    if (state_.My_Folder.isEmpty()) {
        showSettingsWindow();
    }

    try {
        app::openDataFile(state_);
        resetEntry();
        Cmb_My->setEditText(state_.My_Name);
    } catch (const std::exception& e) {
        logFailure(QStringLiteral("start-up open"), e);
        prompts_.inform(
            tr("データベースをオープンできません。データベースの場所を確認して下さい。"));
        showSettingsWindow();
    }
}
