// Making and checking the two files: create-data, create-settings, check, upgrade, generate.
#include <QFileInfo>

#include "store/location.h"
#include "store/schema.h"
#include "tools/admin/cli.h"
#include "tools/generate.h"

namespace admin {
namespace {

int createData(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--if-missing")}, {}, 1);
    if (a.flag(QStringLiteral("--if-missing")) && store::schema::dataExists(a[0])) {
        return 0;
    }
    store::schema::createDataFile(a[0]);
    io.out << "made data file " << store::maskedLocation(a[0]) << "\n";
    return 0;
}

int createSettings(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--if-missing")},
                      {QStringLiteral("--name"), QStringLiteral("--folder")}, 1);
    if (a.flag(QStringLiteral("--if-missing")) && QFileInfo::exists(a[0])) {
        return 0;
    }
    auto given = [&a](const QString& option) {
        return a.has(option) ? std::optional<QString>(a.option(option)) : std::nullopt;
    };
    store::schema::createSettingsFile(a[0], given(QStringLiteral("--name")),
                                      given(QStringLiteral("--folder")));
    io.out << "made settings file " << a[0] << "\n";
    return 0;
}

int check(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    const QStringList problems = store::schema::checkFile(a[0]);
    for (const QString& p : problems) {
        io.out << p << "\n";
    }
    if (problems.isEmpty()) {
        io.out << "ok\n";
    }
    return problems.isEmpty() ? 0 : 1;
}

int upgrade(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    io.out << (store::schema::upgradeDataFile(a[0]) ? "added the missing indexes\n"
                                                    : "nothing to add\n");
    return 0;
}

int generate(const QStringList& args, Io& io) {
    return tools::generateCommand(args, io.out, io.err);
}

}  // namespace

const Command kCreateDataCommand{
    "create-data",
    "create-data PATH [--if-missing]\n"
    "    Make an empty shared data file (table MEMO_T, every column text, ＮＯ numbered\n"
    "    automatically and never reused). Refuses to overwrite an existing file, unless\n"
    "    --if-missing is given, which then leaves the existing file alone.\n",
    createData};

const Command kCreateSettingsCommand{
    "create-settings",
    "create-settings PATH [--name NAME] [--folder DATAFILE] [--if-missing]\n"
    "    Make a settings file (table INI_T with its row ＮＯ = 1). NAME is the user's name,\n"
    "    DATAFILE the full path of the shared data file; each is left empty (Null) when not\n"
    "    given, and the program then asks for it at start-up. The file must be named\n"
    "    DULVANE.INI and lie in the program's folder (a portable installation) or be the\n"
    "    user's own (~/.config/dulvane/DULVANE.INI). Refuses to overwrite, as above.\n",
    createSettings};

const Command kCheckCommand{
    "check",
    "check PATH\n"
    "    Check an existing data or settings file: is it a database, does it hold its table\n"
    "    and every column, does the integrity check pass. Changes nothing. Exit status 1\n"
    "    when problems were found (printed one a line).\n",
    check};

const Command kUpgradeCommand{
    "upgrade",
    "upgrade PATH\n"
    "    Add to a data file what this release expects and an older file lacks (the indexes\n"
    "    that keep the new-message check and the name lists fast). Changes no message.\n",
    upgrade};

const Command kGenerateCommand{
    "generate",
    "generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]\n"
    "    Make a new data file filled with COUNT made-up messages (for benchmarks and load\n"
    "    runs): staff names in kanji, hundreds of callers, receive times spread over years.\n"
    "    The same seed (default 1) makes the same file. The newest N messages stay unread\n"
    "    (default 40, spread over the staff), older ones are read. --all-to addresses every\n"
    "    message to NAME. Refuses to overwrite an existing file.\n",
    generate};

}  // namespace admin
