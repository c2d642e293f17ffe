// dulvane: the office's telephone-message book.
#include <QApplication>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

#include "app/failure_log.h"
#include "app/module1.h"
#include "app/settings_store.h"
#include "store/version.h"
#include "store/error.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/pictures.h"
#include "ui/qt_prompts.h"

namespace {

const char* const kHelp =
    "Usage: dulvane [--help | --version]\n"
    "\n"
    "The office's telephone-message book. Started without these options it opens its main\n"
    "window; other arguments are ignored.\n"
    "\n"
    "Settings: a DULVANE.INI in the program's own folder is used when there is one (a portable\n"
    "installation). Otherwise each user has their own, in the user's configuration folder\n"
    "(e.g. ~/.config/dulvane/DULVANE.INI), made empty at the user's first start; the program\n"
    "then asks for the user's name and the data file's path.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the release and the SQLite and Qt versions, and exit\n";

// --help and --version answer on the command line, before any window; any other argument is
// ignored. Returns whether one of them was answered.
bool answeredOnCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            QTextStream(stdout) << QString::fromUtf8(kHelp);
            return true;
        }
        if (arg == "--version") {
            QTextStream(stdout) << store::versionText(QStringLiteral("dulvane"));
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredOnCommandLine(argc, argv)) {
        return 0;
    }
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dulvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.dulvane.dulvane"));
    // The toolkit's own dialogs and buttons speak Japanese, as the program does.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&toolkitTexts);
    }
    ui::registerFontSubstitutes();
    ui::loadPictures();

    Module1 state;
    const app::SettingsLocation settings =
        app::locateSettings(QCoreApplication::applicationDirPath(), app::userSettingsFolder());
    state.iniPath = settings.path;
    state.logPath = app::failureLogPath();
    QtPrompts prompts;
    Form1 form(state, prompts);
    prompts.setParent(&form);
    QObject::connect(&form, &Form1::endRequested, &app, &QApplication::quit, Qt::QueuedConnection);
    try {
        app::provideSettings(settings);
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
