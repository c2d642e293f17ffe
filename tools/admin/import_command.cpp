// import DATAFILE IN.csv [--encoding utf-8|shift_jis] [--keep-numbers]
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <variant>

#include "store/location.h"
#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/argument_order.h"
#include "tools/admin/cli.h"
#include "tools/admin/csv.h"
#include "tools/admin/dates.h"
#include "tools/admin/terminal.h"
#include "tools/admin/text_encoding.h"

namespace admin {
namespace {

using store::maintenance::ImportMessage;

// Columns every message must have a value in (not Null, not empty).
const QStringList& requiredColumns() {
    static const QStringList names{QStringLiteral("宛名"), QStringLiteral("相手"),
                                   QStringLiteral("受人"), QStringLiteral("メモ")};
    return names;
}

// Where each known column is in the file's records: -1 when the file lacks it.
struct Layout {
    int number = -1;  // ＮＯ
    // 宛名 .. 既読, then the added columns 至急, 対応日時
    std::array<int, store::maintenance::kTextColumns + store::memo::kAddedCount> texts{};
    int width = 0;
};

Layout layoutOf(const csv::Record& header, bool keepNumbers) {
    const QStringList known = store::maintenance::messageColumns();
    Layout layout;
    layout.texts.fill(-1);
    layout.width = int(header.values.size());
    QStringList seen;
    for (int i = 0; i < layout.width; ++i) {
        const QString name = header.values[std::size_t(i)].value_or(QString()).trimmed();
        const int k = int(known.indexOf(name));
        if (k < 0) {
            throw Failure(Text::tr("line 1: unknown column \"%1\" (the columns are %2)")
                              .arg(name, known.join(u',')));
        }
        if (seen.contains(name)) {
            throw Failure(Text::tr("line 1: column %1 twice").arg(name));
        }
        seen << name;
        (k == 0 ? layout.number : layout.texts[std::size_t(k - 1)]) = i;
    }
    for (const QString& name : requiredColumns()) {
        if (!seen.contains(name)) {
            throw Failure(Text::tr("line 1: the header lacks column %1").arg(name));
        }
    }
    if (keepNumbers && layout.number < 0) {
        throw Failure(Text::tr("--keep-numbers: the header lacks column ＮＯ"));
    }
    return layout;
}

// The added columns as the data keeps them: an empty text is a Null; 至急 is 1 or Null, and
// 対応日時 a date and time in the book's form. Returns why a value is bad, or an empty text.
QString addedValuesProblem(ImportMessage& m) {
    using store::memo::Added;
    for (std::optional<QString>& value : m.added) {
        if (value && value->isEmpty()) {
            value.reset();
        }
    }
    std::optional<QString>& urgent = m.added[std::size_t(Added::Urgent)];
    if (urgent && *urgent != store::urgentText()) {
        return Text::tr("%1 \"%2\" is not 1 (urgent) or empty")
            .arg(store::memo::columnName(Added::Urgent), *urgent);
    }
    std::optional<QString>& handled = m.added[std::size_t(Added::HandledAt)];
    if (handled) {
        const std::optional<WallClock> read = readWallClock(*handled);
        if (!read) {
            return Text::tr("%1 \"%2\" is not a date and time (such as %3)")
                .arg(store::memo::columnName(Added::HandledAt), *handled,
                     QStringLiteral("2019/02/21 17:54"));
        }
        handled = dateTimeText(*read);
    }
    return {};
}

// One record as a message, or the reason it is bad.
std::variant<ImportMessage, QString> messageOf(const csv::Record& record, const Layout& layout,
                                               bool keepNumbers) {
    if (int(record.values.size()) != layout.width) {
        return Text::tr("%1 values, the header has %2").arg(record.values.size()).arg(layout.width);
    }
    const QStringList names = store::maintenance::messageColumns();
    ImportMessage m;
    for (int c = 0; c < int(layout.texts.size()); ++c) {
        const int at = layout.texts[std::size_t(c)];
        csv::Value& value = store::maintenance::valueAt(m, c + 1);
        if (at >= 0) {
            value = record.values[std::size_t(at)];
        }
        const QString& name = names.at(c + 1);
        if (requiredColumns().contains(name) && value.value_or(QString()).isEmpty()) {
            return Text::tr("no value for %1").arg(name);
        }
    }
    if (const QString why = addedValuesProblem(m); !why.isEmpty()) {
        return why;
    }
    // Dates are kept in the book's own form, whichever form the file wrote them in, so that
    // lists sort and show them alike; an empty text stays empty.
    for (const bool withTime : {true, false}) {
        csv::Value& date = m.texts[withTime ? 6 : 7];
        if (!date || date->isEmpty()) {
            continue;
        }
        const std::optional<WallClock> read = readWallClock(*date);
        if (!read) {
            return (withTime ? Text::tr("%1 \"%2\" is not a date and time (such as %3)")
                             : Text::tr("%1 \"%2\" is not a date (such as %3)"))
                .arg(names.at(withTime ? 7 : 8), *date,
                     withTime ? QStringLiteral("2019/02/21 17:54") : QStringLiteral("2019/02/21"));
        }
        date = withTime ? dateTimeText(*read) : dateText(read->date);
    }
    const csv::Value number =
        layout.number >= 0 ? record.values[std::size_t(layout.number)] : csv::Value();
    if (number) {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
        const qlonglong n = number->toLongLong();
        if (!digits.match(*number).hasMatch() || n <= 0) {
            return Text::tr("bad ＮＯ \"%1\" (a whole number from 1 on)").arg(*number);
        }
        if (keepNumbers) {
            m.no = n;
        }
    } else if (keepNumbers) {
        return Text::tr("no ＮＯ to keep");
    }
    return m;
}

int importMessages(const QStringList& args, Io& io) {
    const Arguments a(args, {QStringLiteral("--keep-numbers")}, {QStringLiteral("--encoding")}, 2);
    const Encoding encoding = encodingOption(a);
    const bool keepNumbers = a.flag(QStringLiteral("--keep-numbers"));
    checkDataFileAndCsv(QStringLiteral("import"), QStringLiteral("IN.csv"), a[0], a[1]);
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    QFile in(a[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Failure(Text::tr("cannot read %1: %2").arg(a[1], in.errorString()));
    }
    const Decoded decoded = decodeFile(in.readAll(), encoding);
    if (!decoded.badLines.empty()) {
        QStringList problems;
        for (int line : decoded.badLines) {
            problems << Text::tr("line %1: not %2 text")
                            .arg(line)
                            .arg(QLatin1String(encodingName(encoding)));
        }
        reportProblems(io, problems);
        throw Failure(Text::tr("nothing imported: %1 is not %2 (see --encoding)")
                          .arg(a[1], QLatin1String(encodingName(encoding))));
    }
    const csv::Parsed parsed = csv::parse(decoded.text);
    if (parsed.records.empty() ||
        (!parsed.problems.empty() && parsed.problems.front().line < parsed.records.front().line)) {
        throw Failure(Text::tr("nothing imported: %1 has no sound header line").arg(a[1]));
    }
    const Layout layout = layoutOf(parsed.records.front(), keepNumbers);

    std::vector<std::pair<int, QString>> problems;
    for (const csv::Problem& p : parsed.problems) {
        problems.emplace_back(p.line, p.what);
    }
    std::vector<ImportMessage> messages;
    std::vector<int> lines;
    QHash<std::int64_t, int> numberLines;
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        const csv::Record& record = parsed.records[r];
        auto result = messageOf(record, layout, keepNumbers);
        if (auto* why = std::get_if<QString>(&result)) {
            problems.emplace_back(record.line, *why);
            continue;
        }
        ImportMessage& m = std::get<ImportMessage>(result);
        if (m.no) {
            if (const int first = numberLines.value(*m.no, 0); first > 0) {
                problems.emplace_back(
                    record.line, Text::tr("ＮＯ %1 again (line %2 has it)").arg(*m.no).arg(first));
                continue;
            }
            numberLines.insert(*m.no, record.line);
        }
        messages.push_back(std::move(m));
        lines.push_back(record.line);
    }
    auto numbersTaken = [&](const std::vector<std::size_t>& taken) {
        for (std::size_t i : taken) {
            problems.emplace_back(
                lines[i],
                Text::tr("ＮＯ %1 is or was in use in the data file (numbers are never reused)")
                    .arg(*messages[i].no));
        }
    };
    numbersTaken(store::maintenance::numbersInUse(*db, messages));
    if (problems.empty()) {
        Progress progress(QStringLiteral("import"), std::int64_t(messages.size()));
        const auto outcome = store::maintenance::addMessages(
            *db, messages, [&progress](std::int64_t done) { progress.update(done); });
        progress.finish();
        // Another workstation may have added a message with such a number meanwhile.
        numbersTaken(outcome.numbersTaken);
        if (problems.empty()) {
            io.out << Text::tr("imported %1 messages into %2")
                          .arg(outcome.added)
                          .arg(store::maskedLocation(a[0]))
                   << "\n";
            return 0;
        }
    }
    std::sort(problems.begin(), problems.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList texts;
    for (const auto& [line, what] : problems) {
        texts << Text::tr("%1 line %2: %3").arg(a[1]).arg(line).arg(what);
    }
    reportProblems(io, texts);
    throw Failure(Text::tr("nothing imported: %1 bad row(s)").arg(problems.size()));
}

}  // namespace

const Command kImportCommand{
    "import",
    QT_TRANSLATE_NOOP(
        "admin",
        "import DATAFILE IN.csv [--encoding utf-8|shift_jis] [--keep-numbers]\n"
        "    Add the messages of a CSV file to an existing data file: a file written\n"
        "    by export, by a spreadsheet program (with or without a byte-order mark)\n"
        "    or by mdb-export from the old system (mdb-export old.mdb MEMO_T). The\n"
        "    first line names the columns, in any order; 宛名, 相手, 受人, メモ are\n"
        "    required, ＮＯ, 内外線, 電話, 受付日時, 既読, 至急 (1 or empty),\n"
        "    対応日時 optional; a value for 至急 or 対応日時 needs data that has\n"
        "    the column (see upgrade).\n"
        "    UTF-8 by default; shift_jis (or cp932, windows-31j) reads Windows'\n"
        "    Shift_JIS, giving the characters Windows shows (～ for the bytes of 〜\n"
        "    too).\n"
        "    An empty unquoted value is a Null; texts are kept exactly, but for the\n"
        "    dates: 受付日時 is stored as 2019/02/21 17:54 and 既読 as 2019/02/21,\n"
        "    whether the file writes 2019/2/21 17:54, 2019/02/21 17:54:00, 2019-02-21\n"
        "    17:54, 2019-02-21T17:54:00 (with a zone, Z or +09:00: converted to this\n"
        "    computer's time zone) or, month first, 12/25/02 12:25:00. Seconds are\n"
        "    dropped; a date alone is at 00:00. Any other value there is a bad row.\n"
        "    Every bad row is listed with its line number, and then nothing is\n"
        "    imported: all rows or none.\n"
        "    Each message gets a new number, in file order, unless --keep-numbers is\n"
        "    given: then each keeps its ＮＯ, which must be unique in the CSV and\n"
        "    never handed out by the data file (a number of a message deleted since is\n"
        "    refused too). New messages are numbered after the highest number\n"
        "    afterwards. The data file comes first, the CSV file second. DATAFILE may\n"
        "    be a database server's URI; the same rules hold there.\n"),
    importMessages};

}  // namespace admin
