// phrases DATAFILE list | add TEXT | remove N | move N TO
#include <QRegularExpression>

#include "store/location.h"
#include "store/memo_table.h"
#include "store/phrases.h"
#include "tools/admin/cli.h"

namespace admin {
namespace {

// How many arguments each action takes after DATAFILE and its own name.
int argumentsOf(const QString& action) {
    if (action == QLatin1String("list")) {
        return 0;
    }
    if (action == QLatin1String("add") || action == QLatin1String("remove")) {
        return 1;
    }
    if (action == QLatin1String("move")) {
        return 2;
    }
    throw UsageError(Text::tr("unknown action \"%1\" (list, add, remove or move)").arg(action));
}

// A place in the list, from 1 to count.
int placeOf(const QString& text, int count) {
    bool ok = false;
    const int place = text.toInt(&ok);
    if (!ok || place < 1 || place > count) {
        throw Failure(Text::tr("no phrase at \"%1\" (the places are 1 to %2; see list)")
                          .arg(text)
                          .arg(count));
    }
    return place;
}

void print(Io& io, const std::vector<store::Phrase>& phrases) {
    int place = 0;
    for (const store::Phrase& p : phrases) {
        io.out << ++place << "\t" << p.text << "\n";
    }
    if (phrases.empty()) {
        io.out << Text::tr("no phrases (the menu beside the memo text is empty)") << "\n";
    }
}

int phrases(const QStringList& args, Io& io) {
    const QStringList positional = args.filter(QRegularExpression(QStringLiteral("^(?!--)")));
    if (positional.size() < 2) {
        throw UsageError(Text::tr("give the data file and an action"));
    }
    const QString action = positional.at(1);
    const Arguments a(args, {}, {}, 2 + argumentsOf(action));
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    if (!db->additions().has(store::AddedTable::Phrases)) {
        throw Failure(Text::tr("%1 has no table of phrases PHRASE_T yet (the program offers its "
                               "own five): run dulvane-admin upgrade %1 first")
                          .arg(store::maskedLocation(a[0])));
    }
    const int count = int(store::phrases::list(*db).size());
    if (action == QLatin1String("add")) {
        const QString text = a[2];
        if (text.trimmed().isEmpty()) {
            throw Failure(Text::tr("the phrase is empty"));
        }
        if (text.size() > store::phrases::kMaxLength) {
            throw Failure(Text::tr("the phrase has %1 characters; the memo text holds %2 at most")
                              .arg(text.size())
                              .arg(store::phrases::kMaxLength));
        }
        store::phrases::add(*db, text);
    } else if (action == QLatin1String("remove")) {
        const QString gone = store::phrases::remove(*db, placeOf(a[2], count));
        io.out << Text::tr("removed: %1").arg(gone) << "\n";
    } else if (action == QLatin1String("move")) {
        store::phrases::move(*db, placeOf(a[2], count), placeOf(a[3], count));
    }
    print(io, store::phrases::list(*db));
    return 0;
}

}  // namespace

const Command kPhrasesCommand{
    "phrases",
    QT_TRANSLATE_NOOP(
        "admin",
        "phrases DATAFILE list | add TEXT | remove N | move N TO\n"
        "    Keep the office's ready phrases, which the button 定型文 beside the memo\n"
        "    text offers on every workstation (table PHRASE_T; see upgrade). list\n"
        "    prints them with their places, 1 first as in the menu; add puts TEXT\n"
        "    last (at most 100 characters, what the memo text holds); remove takes\n"
        "    the phrase at place N away; move puts the phrase at place N at place TO.\n"
        "    Each action prints the list it leaves. Data without the table offers\n"
        "    折り返しお電話ください。 また電話します。 お電話がありました。\n"
        "    伝言があります。 ご来訪がありました。 DATAFILE may be a database\n"
        "    server's URI.\n"),
    phrases};

}  // namespace admin
