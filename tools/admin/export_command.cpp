// export DATAFILE OUT.csv [--encoding utf-8|shift_jis]
#include <QFileInfo>

#include "store/maintenance.h"
#include "store/memo_table.h"
#include "tools/admin/argument_order.h"
#include "tools/admin/cli.h"
#include "tools/admin/csv.h"
#include "tools/admin/new_file.h"
#include "tools/admin/terminal.h"
#include "tools/admin/text_encoding.h"

namespace admin {
namespace {

int exportMessages(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {QStringLiteral("--encoding")}, 2);
    const Encoding encoding = encodingOption(a);
    checkDataFileAndCsv(QStringLiteral("export"), QStringLiteral("OUT.csv"), a[0], a[1]);
    NewFile out(a[1]);  // refuses an existing file before any work
    store::Workspace ws;
    auto db = ws.openDatabase(a[0], store::memo::tableName(), store::memo::requiredColumns());
    std::vector<store::maintenance::ImportMessage> rows = store::maintenance::everyMessage(*db);
    const auto total = std::int64_t(rows.size());

    // The whole file is made in memory first: a character the encoding cannot hold stops the
    // export before anything is written.
    const QStringList columns = store::maintenance::messageColumns();
    QStringList problems;
    std::vector<char32_t> unencodable;
    auto encode = [&](const QString& text) { return encodeText(text, encoding, unencodable); };
    QByteArray bytes = byteOrderMark(encoding);
    csv::appendHeader(bytes, columns, encode);
    std::vector<csv::Value> values(std::size_t(columns.size()));
    Progress progress(QStringLiteral("export"), total);
    std::int64_t done = 0;
    for (store::maintenance::ImportMessage& row : rows) {
        const QString no = QString::number(row.no.value_or(0));
        values[0] = csv::Value(no);
        for (int c = 1; c < columns.size(); ++c) {
            const std::optional<QString>& text = store::maintenance::valueAt(row, c);
            values[std::size_t(c)] = text;
            if (text && encoding != Encoding::Utf8) {
                std::vector<char32_t> bad;
                encodeText(*text, encoding, bad);
                for (char32_t ch : bad) {
                    problems << QStringLiteral("ＮＯ %1, %2: %3 (%4)")
                                    .arg(no, columns.at(c), QString::fromUcs4(&ch, 1),
                                         codePointText(ch));
                }
            }
        }
        csv::appendRecord(bytes, values, encode);
        // Each message goes as soon as it is written, so that it is never held twice.
        row = {};
        progress.update(++done);
    }
    progress.finish();
    if (!problems.isEmpty()) {
        reportProblems(io, problems);
        throw Failure(Text::tr("%1 character(s) cannot be written in %2; nothing written (use "
                               "--encoding utf-8 to keep every character)")
                          .arg(problems.size())
                          .arg(QLatin1String(encodingName(encoding))));
    }
    if (out.file().write(bytes) != bytes.size()) {
        throw Failure(Text::tr("cannot write %1: %2").arg(a[1], out.file().errorString()));
    }
    out.commit(sharedReadable());
    io.out << Text::tr("exported %1 messages to %2 (%3)")
                  .arg(total)
                  .arg(a[1], QLatin1String(encodingName(encoding)))
           << "\n";
    return 0;
}

}  // namespace

const Command kExportCommand{
    "export",
    QT_TRANSLATE_NOOP(
        "admin",
        "export DATAFILE OUT.csv [--encoding utf-8|shift_jis]\n"
        "    Write every message, ordered by ＮＯ, to a new CSV file: a header line\n"
        "    with the column names (ＮＯ, 宛名, 相手, 受人, メモ, 内外線, 電話,\n"
        "    受付日時, 既読, 至急, 対応日時; the last two are empty for data not yet\n"
        "    upgraded), every value in double quotes (a quote inside doubled),\n"
        "    an empty unquoted value for a Null, CRLF line ends. UTF-8 with a\n"
        "    byte-order mark by default; shift_jis (or cp932, windows-31j) for older\n"
        "    spreadsheet programs: Windows' Shift_JIS, code page 932, circled numbers\n"
        "    and ㈱ included. 〜 − ‖ ¢ £ ¬ — ¦ are written as Windows' ～ － ∥ ￠ ￡\n"
        "    ￢ ― ￤ (an import reads those); other characters it cannot hold are\n"
        "    listed (message, column, character) and nothing is written. Never\n"
        "    overwrites OUT.csv. The data file comes first, the CSV file second.\n"
        "    DATAFILE may be a database server's URI: the same messages give the same\n"
        "    file.\n"),
    exportMessages};

}  // namespace admin
