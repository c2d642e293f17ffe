// dulvane: the office's telephone-message book.
#include <QApplication>

#include "app/failure_log.h"
#include "app/module1.h"
#include "app/settings_store.h"
#include "store/error.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/pictures.h"
#include "ui/qt_prompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::registerFontSubstitutes();
    ui::loadPictures();

    Module1 state;
    state.iniPath = app::settingsPathIn(QCoreApplication::applicationDirPath());
    state.logPath = app::failureLogPath();
    QtPrompts prompts;
    Form1 form(state, prompts);
    prompts.setParent(&form);
    QObject::connect(&form, &Form1::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    try {
        form.Form_Load();
    } catch (const store::Error& e) {
        // The settings file cannot be used: the program cannot start.
        prompts.setParent(nullptr);
        prompts.inform(
            QStringLiteral("設定ファイル %1 を読めません。\n%2").arg(state.iniPath, e.report()));
        return 1;
    }
    form.show();
    return app.exec();
}
