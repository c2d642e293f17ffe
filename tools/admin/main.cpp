// dulvane-admin: makes, checks and looks after the files the message book works on.
#include <QCoreApplication>
#include <QTextStream>
#include <QTranslator>
#include <array>

#include "store/error.h"
#include "store/version.h"
#include "tools/admin/cli.h"
#include "tools/admin/failures.h"
#include "translations/command_line.h"

namespace {

using admin::Text;

const std::array<const admin::Command*, 15> kCommands{
    &admin::kCreateDataCommand, &admin::kCreateSettingsCommand, &admin::kCheckCommand,
    &admin::kUpgradeCommand,    &admin::kGenerateCommand,       &admin::kExportCommand,
    &admin::kImportCommand,     &admin::kBackupCommand,         &admin::kRestoreCommand,
    &admin::kPurgeCommand,      &admin::kSummaryCommand,        &admin::kCopyCommand,
    &admin::kStaffCommand,      &admin::kForwardCommand,        &admin::kPhrasesCommand};

QString helpOf(const admin::Command& c) {
    return QCoreApplication::translate("admin", c.help);
}

QString overallHelp() {
    QString help = Text::tr(
        "Usage: dulvane-admin COMMAND [ARGUMENTS]\n"
        "  or:  dulvane-admin COMMAND --help\n"
        "  or:  dulvane-admin --version\n"
        "\n"
        "Makes, checks and looks after the two files of the telephone-message book. The\n"
        "program itself never creates a data file: make the office's one with create-data.\n"
        "An installed program makes each user's own settings file at the first start; a\n"
        "portable program folder needs one beside the program (create-settings). Where a\n"
        "command takes a DATAFILE, a database server's URI may stand instead (see copy).\n"
        "dulvane-admin speaks Japanese under a Japanese locale (LANG=ja_JP.UTF-8), English\n"
        "otherwise.\n"
        "\n"
        "Commands:\n");
    for (const admin::Command* c : kCommands) {
        help += QStringLiteral("  ") + helpOf(*c).replace(u'\n', QStringLiteral("\n  ")).trimmed() +
                u'\n';
    }
    help += u'\n';
    help += Text::tr(
        "Exit status: 0 done (check: file sound), 1 the operation failed or was refused (the\n"
        "reason on stderr; check: problems found, printed one a line), 2 wrong usage.\n");
    return help;
}

QString commandHelp(const admin::Command& c) {
    return Text::tr("Usage:") + QStringLiteral(" dulvane-admin ") + helpOf(c) + u'\n' +
           Text::tr("Exit status: 0 done, 1 failed or refused, 2 wrong usage.\n");
}

bool asksForHelp(const QStringList& args) {
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTranslator texts;
    if (translations::loadCommandLineTexts(texts, QStringLiteral("dulvane-admin"))) {
        QCoreApplication::installTranslator(&texts);
    }
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        err << "dulvane-admin: " << Text::tr("no command given") << "\n\n" << overallHelp();
        return 2;
    }
    if (args.first() == QLatin1String("--version")) {
        out << store::versionText(QStringLiteral("dulvane-admin"));
        return 0;
    }
    const admin::Command* command = nullptr;
    for (const admin::Command* c : kCommands) {
        if (args.first() == QLatin1String(c->name)) {
            command = c;
        }
    }
    if (command == nullptr) {
        if (asksForHelp(args)) {
            out << overallHelp();
            return 0;
        }
        err << "dulvane-admin: " << Text::tr("unknown command %1").arg(args.first()) << "\n\n"
            << overallHelp();
        return 2;
    }
    const QStringList rest = args.mid(1);
    if (asksForHelp(rest)) {
        out << commandHelp(*command);
        return 0;
    }
    admin::Io io{out, err};
    try {
        return command->run(rest, io);
    } catch (const admin::UsageError& e) {
        out.flush();
        err << "dulvane-admin " << command->name << ": " << e.why() << "\n\n"
            << commandHelp(*command);
        return 2;
    } catch (const admin::Failure& e) {
        out.flush();
        err << "dulvane-admin " << command->name << ": " << e.why() << "\n";
        return 1;
    } catch (const store::Error& e) {
        out.flush();
        err << "dulvane-admin " << command->name << ": " << admin::storeFailureText(e, rest)
            << "\n";
        return 1;
    }
}
