// dulvane: the office's telephone-message book.
#include <QApplication>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

#include "app/failure_log.h"
#include "app/module1.h"
#include "app/platform.h"
#include "app/settings_store.h"
#include "store/error.h"
#include "store/version.h"
#include "translations/command_line.h"
#include "ui/fonts.h"
#include "ui/main/form1.h"
#include "ui/pictures.h"
#include "ui/qt_prompts.h"

namespace {

// English, translated into Japanese under a Japanese locale (translations/dulvane_ja.ts).
const char* const kHelp = QT_TRANSLATE_NOOP(
    "dulvane",
    "Usage: dulvane [--help | --version]\n"
    "\n"
    "The office's telephone-message book. Started without these options it opens its main\n"
    "window; other arguments are ignored. The windows speak Japanese.\n"
    "\n"
    "Settings: a DULVANE.INI in the program's own folder is used when there is one (a portable\n"
    "installation). Otherwise each user has their own, in the user's configuration folder\n"
    "(e.g. ~/.config/dulvane/DULVANE.INI), made empty at the user's first start; the program\n"
    "then asks for the user's name and the data file's path. Failures are written to the log\n"
    "in the user's state folder (e.g. ~/.local/state/dulvane/dulvane.log).\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the release and the SQLite and Qt versions, and exit\n"
    "\n"
    "The data file is made and looked after with dulvane-admin (see dulvane-admin --help).\n");

// The help in the command line's language. The translation is read here only, never
// installed, so the windows keep their own texts.
QString helpText() {
    QTranslator texts;
    if (translations::loadCommandLineTexts(texts, QStringLiteral("dulvane"))) {
        const QString translated = texts.translate("dulvane", kHelp);
        if (!translated.isEmpty()) {
            return translated;
        }
    }
    return QString::fromUtf8(kHelp);
}

// --help and --version answer on the command line, before any window; any other argument is
// ignored. Returns whether one of them was answered.
bool answeredOnCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            QTextStream(stdout) << helpText();
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
    app::platform::useOneHeap();
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
