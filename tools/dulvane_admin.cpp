// dulvane-admin: makes and checks the files the message book works on.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <optional>

#include "store/error.h"
#include "store/schema.h"
#include "tools/generate.h"

namespace {

const char* const kHelp =
    "Usage: dulvane-admin COMMAND [OPTIONS] PATH\n"
    "\n"
    "Makes and checks the two files of the telephone-message book. The program itself\n"
    "never creates a file; give each workstation a settings file and the office one data file.\n"
    "\n"
    "Commands:\n"
    "  create-data PATH [--if-missing]\n"
    "      Make an empty shared data file (table MEMO_T, every column text, ＮＯ numbered\n"
    "      automatically and never reused). Refuses to overwrite an existing file, unless\n"
    "      --if-missing is given, which then leaves the existing file alone.\n"
    "  create-settings PATH [--name NAME] [--folder DATAFILE] [--if-missing]\n"
    "      Make a settings file (table INI_T with its row ＮＯ = 1). NAME is the user's name,\n"
    "      DATAFILE the full path of the shared data file; each is left empty (Null) when not\n"
    "      given, and the program then asks for it at start-up. The file must be named\n"
    "      DULVANE.INI and lie in the program's folder. Refuses to overwrite, as above.\n"
    "  check PATH\n"
    "      Check an existing data or settings file: is it a database, does it hold its table\n"
    "      and every column, does the integrity check pass. Changes nothing.\n"
    "  upgrade PATH\n"
    "      Add to a data file what this release expects and an older file lacks (the indexes\n"
    "      that keep the new-message check and the name lists fast). Changes no message.\n"
    "  generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]\n"
    "      Make a new data file filled with COUNT made-up messages (for benchmarks and load\n"
    "      runs): staff names in kanji, hundreds of callers, receive times spread over years.\n"
    "      The same seed (default 1) makes the same file. The newest N messages stay unread\n"
    "      (default 40, spread over the staff), older ones are read. --all-to addresses every\n"
    "      message to NAME. Refuses to overwrite an existing file.\n"
    "\n"
    "Exit status: 0 done (check: file sound), 1 the file failed (check: problems found,\n"
    "printed one a line), 2 wrong usage.\n";

int usage(const QString& why) {
    QTextStream(stderr) << "dulvane-admin: " << why << "\n\n" << kHelp;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty()) {
        return usage(QStringLiteral("no command given"));
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kHelp;
        return 0;
    }
    const QString command = args.takeFirst();
    const bool ifMissing = args.removeAll(QStringLiteral("--if-missing")) > 0;
    auto takeOption = [&args](const QString& flag) -> std::optional<QString> {
        const qsizetype i = args.indexOf(flag);
        if (i < 0 || i + 1 >= args.size()) {
            return std::nullopt;
        }
        const QString value = args.at(i + 1);
        args.remove(i, 2);
        return value;
    };
    try {
        if (command == QLatin1String("create-data") && args.size() == 1) {
            if (ifMissing && QFileInfo::exists(args[0])) {
                return 0;
            }
            store::schema::createDataFile(args[0]);
            out << "made data file " << args[0] << "\n";
            return 0;
        }
        if (command == QLatin1String("create-settings")) {
            const auto name = takeOption(QStringLiteral("--name"));
            const auto folder = takeOption(QStringLiteral("--folder"));
            if (args.size() != 1) {
                return usage(QStringLiteral("create-settings needs one PATH"));
            }
            if (ifMissing && QFileInfo::exists(args[0])) {
                return 0;
            }
            store::schema::createSettingsFile(args[0], name, folder);
            out << "made settings file " << args[0] << "\n";
            return 0;
        }
        if (command == QLatin1String("check") && args.size() == 1) {
            const QStringList problems = store::schema::checkFile(args[0]);
            for (const QString& p : problems) {
                out << p << "\n";
            }
            if (problems.isEmpty()) {
                out << "ok\n";
            }
            return problems.isEmpty() ? 0 : 1;
        }
        if (command == QLatin1String("upgrade") && args.size() == 1) {
            out << (store::schema::upgradeDataFile(args[0]) ? "added the missing indexes\n"
                                                            : "nothing to add\n");
            return 0;
        }
        if (command == QLatin1String("generate")) {
            return tools::generateCommand(args, out, err);
        }
    } catch (const store::Error& e) {
        err << "dulvane-admin: " << e.report() << "\n";
        return 1;
    }
    return usage(QStringLiteral("unknown command or wrong arguments: ") + command);
}
