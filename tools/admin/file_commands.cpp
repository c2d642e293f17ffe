// Making and checking the two files: create-data, create-settings, check, upgrade, generate.
#include <QDir>
#include <QFileInfo>

#include "store/location.h"
#include "store/memo_table.h"
#include "store/schema.h"
#include "tools/admin/cli.h"
#include "tools/admin/failures.h"
#include "tools/generate.h"

namespace admin {
namespace {

// Refuses a path where a file is already (never overwritten) and, unless makeFolder, one whose
// folder is missing; with makeFolder the missing folders are made.
void checkNewFilePath(const QString& path, bool makeFolder) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        throw Failure(Text::tr("%1 exists already; it is never overwritten").arg(path));
    }
    const QString folder = info.absolutePath();
    if (QFileInfo(folder).isDir()) {
        return;
    }
    if (!makeFolder) {
        throw Failure(Text::tr("the folder %1 does not exist: make it first (for the office's "
                               "data file, a shared folder every user may write in)")
                          .arg(folder));
    }
    if (!QDir().mkpath(folder)) {
        throw Failure(Text::tr("cannot make the folder %1").arg(folder));
    }
}

int createData(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--if-missing")}, {}, 1);
    const bool server = store::isServerLocation(a[0]);
    if (a.flag(QStringLiteral("--if-missing")) && store::schema::dataExists(a[0])) {
        if (!server) {
            // Only a data file is left alone; anything else there is a mistake to report.
            store::Workspace{}.openDatabase(a[0], store::memo::tableName(),
                                            store::memo::requiredColumns());
        }
        return 0;
    }
    if (!server) {
        checkNewFilePath(a[0], false);
    }
    store::schema::createDataFile(a[0]);
    io.out << (server ? Text::tr("made the table MEMO_T on %1").arg(store::maskedLocation(a[0]))
                      : Text::tr("made the data file %1").arg(a[0]))
           << "\n";
    return 0;
}

int createSettings(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--if-missing")},
                      {QStringLiteral("--name"), QStringLiteral("--folder")}, 1);
    if (a.flag(QStringLiteral("--if-missing")) && QFileInfo::exists(a[0])) {
        return 0;
    }
    checkNewFilePath(a[0], true);
    auto given = [&a](const QString& option) {
        return a.has(option) ? std::optional<QString>(a.option(option)) : std::nullopt;
    };
    store::schema::createSettingsFile(a[0], given(QStringLiteral("--name")),
                                      given(QStringLiteral("--folder")));
    io.out << Text::tr("made the settings file %1").arg(a[0]) << "\n";
    return 0;
}

int check(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    const QStringList problems = store::schema::checkFile(a[0]);
    if (!problems.isEmpty()) {
        io.out << Text::tr("%1: %2 problem(s) found:")
                      .arg(store::maskedLocation(a[0]))
                      .arg(problems.size())
               << "\n";
        for (const QString& p : problems) {
            io.out << "  " << p << "\n";
        }
        return 1;
    }
    // A sound settings file is sound as what it is; say which file it is, as it is not the data
    // file.
    if (store::isServerLocation(a[0])) {
        io.out << Text::tr("ok: the table MEMO_T on %1 is sound").arg(store::maskedLocation(a[0]));
    } else if (isSettingsFile(a[0])) {
        io.out << Text::tr("ok: %1 is a sound settings file (a settings file, not a data file)")
                      .arg(a[0]);
    } else {
        io.out << Text::tr("ok: %1 is a sound data file").arg(a[0]);
    }
    io.out << "\n";
    return 0;
}

int upgrade(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    io.out << (store::schema::upgradeDataFile(a[0])
                   ? Text::tr("added what was missing (indexes, the columns 至急 and 対応日時, "
                              "the table of phrases PHRASE_T)")
                   : Text::tr("nothing to add"))
           << "\n";
    return 0;
}

int generate(const QStringList& args, Io& io) {
    if (!args.isEmpty() && !args.first().startsWith(QLatin1String("--"))) {
        checkNewFilePath(args.first(), false);
    }
    return tools::generateCommand(args, io.out, io.err);
}

}  // namespace

const Command kCreateDataCommand{
    "create-data",
    QT_TRANSLATE_NOOP(
        "admin",
        "create-data DATAFILE [--if-missing]\n"
        "    Make an empty shared data file (table MEMO_T, every column text but the\n"
        "    whole number 至急, ＮＯ numbered automatically and never reused; table\n"
        "    PHRASE_T with the five ready phrases), in a folder that exists (make\n"
        "    the shared folder first). Refuses to overwrite an existing file. With\n"
        "    --if-missing an existing data file is left alone, silently; anything else\n"
        "    under that name is refused (exit 1). DATAFILE may be a database server's\n"
        "    URI (postgresql://HOST/DB?sslmode=verify-full, a password in ~/.pgpass):\n"
        "    the table is then made on the server.\n"),
    createData};

const Command kCreateSettingsCommand{
    "create-settings",
    QT_TRANSLATE_NOOP(
        "admin",
        "create-settings PATH [--name NAME] [--folder DATAFILE] [--if-missing]\n"
        "    Make a settings file (table INI_T with its row ＮＯ = 1), and its folder\n"
        "    when that is missing. NAME is the user's name, DATAFILE the full path of\n"
        "    the shared data file (or the server's URI); each is left empty (Null)\n"
        "    when not given, and the program then asks for it at start-up. The file\n"
        "    must be named DULVANE.INI and lie in the program's folder (a portable\n"
        "    installation) or be the user's own (~/.config/dulvane/DULVANE.INI).\n"
        "    Refuses to overwrite; with --if-missing an existing file is left alone.\n"),
    createSettings};

const Command kCheckCommand{
    "check",
    QT_TRANSLATE_NOOP(
        "admin",
        "check PATH\n"
        "    Check an existing data or settings file: is it a database, does it hold\n"
        "    its table and every column, does the integrity check pass; say which of\n"
        "    the two it is. The columns 至急 and 対応日時 and the table PHRASE_T may\n"
        "    be missing (an older file: see upgrade), but when there they must be of\n"
        "    their types. Changes nothing. Exit status 1 when problems were found\n"
        "    (printed one a line). PATH may be a database server's URI: its table\n"
        "    MEMO_T is checked.\n"),
    check};

const Command kUpgradeCommand{
    "upgrade",
    QT_TRANSLATE_NOOP(
        "admin",
        "upgrade DATAFILE\n"
        "    Add to a data file what this release expects and an older file lacks: the\n"
        "    indexes that keep the new-message check and the name lists fast, the\n"
        "    columns 至急 (urgent) and 対応日時 (handled at) of MEMO_T, and the table\n"
        "    of ready phrases PHRASE_T, made with the five phrases the program offers\n"
        "    without it. Changes no message; older programs go on working with the\n"
        "    file. DATAFILE may be a database server's URI.\n"),
    upgrade};

const Command kGenerateCommand{
    "generate",
    QT_TRANSLATE_NOOP(
        "admin",
        "generate PATH COUNT [--seed N] [--unread N] [--all-to NAME]\n"
        "    Make a new data file filled with COUNT made-up messages, to try the\n"
        "    program or measure it before an office's real data goes in (benchmarks\n"
        "    and load runs): staff names in kanji, hundreds of callers, receive times\n"
        "    spread over years. The same seed (default 1) makes the same file. The\n"
        "    newest N messages stay unread (default 40, spread over the staff), older\n"
        "    ones are read. --all-to addresses every message to NAME. Refuses to\n"
        "    overwrite an existing file. Never for the office's data file.\n"),
    generate};

}  // namespace admin
