// staff list|add|set|remove|import|export DATAFILE ...
#include <QFile>

#include "store/memo_table.h"
#include "store/staff.h"
#include "tools/admin/cli.h"
#include "tools/admin/csv.h"
#include "tools/admin/new_file.h"
#include "tools/admin/text_encoding.h"
#include "tools/forward/mail_text.h"

namespace admin {
namespace {

using store::StaffMember;

// The CSV file's columns: the directory's, without its key.
const QStringList& csvColumns() {
    static const QStringList names{QStringLiteral("名前"),     QStringLiteral("よみ"),
                                   QStringLiteral("内線番号"), QStringLiteral("所属"),
                                   QStringLiteral("メール"),   QStringLiteral("転送")};
    return names;
}

const QStringList kMemberOptions{QStringLiteral("--reading"), QStringLiteral("--extension"),
                                 QStringLiteral("--section"), QStringLiteral("--mail"),
                                 QStringLiteral("--forward")};

std::unique_ptr<store::Database> openData(const QString& location) {
    return store::Workspace{}.openDatabase(location, store::memo::tableName(),
                                           store::memo::requiredColumns());
}

// "yes"/"1" or "no"/"0"/"" for 転送.
bool forwardValue(const QString& text, const QString& where) {
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("yes") || t == QLatin1String("1") || t == QLatin1String("on")) {
        return true;
    }
    if (t.isEmpty() || t == QLatin1String("no") || t == QLatin1String("0") ||
        t == QLatin1String("off")) {
        return false;
    }
    throw Failure(Text::tr("%1: 転送 is yes or no, not \"%2\"").arg(where, text));
}

// Refuses what the directory cannot hold: a bad name, an address that is not one, 転送 without
// an address.
void check(const StaffMember& m, const QString& where) {
    const QString problem = store::staff::nameProblem(m.name);
    if (!problem.isEmpty()) {
        throw Failure(
            Text::tr("%1: the name is empty or has spaces at an end: \"%2\"").arg(where, m.name));
    }
    if (m.mail && !forward::isMailAddress(*m.mail)) {
        throw Failure(Text::tr("%1: not a mail address: \"%2\"").arg(where, *m.mail));
    }
    if (m.forward && !m.mail) {
        throw Failure(Text::tr("%1: 転送 needs a mail address (--mail)").arg(where));
    }
}

std::optional<QString> present(const QString& text) {
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

// The options given change the member; those not given keep what it has.
void applyOptions(const Arguments& a, StaffMember& m) {
    if (a.has(QStringLiteral("--reading"))) {
        m.reading = present(a.option(QStringLiteral("--reading")));
    }
    if (a.has(QStringLiteral("--extension"))) {
        m.extension = present(a.option(QStringLiteral("--extension")));
    }
    if (a.has(QStringLiteral("--section"))) {
        m.section = present(a.option(QStringLiteral("--section")));
    }
    if (a.has(QStringLiteral("--mail"))) {
        m.mail = present(a.option(QStringLiteral("--mail")));
    }
    if (a.has(QStringLiteral("--forward"))) {
        m.forward =
            forwardValue(a.option(QStringLiteral("--forward")), QStringLiteral("--forward"));
    }
}

QString shown(const std::optional<QString>& text) {
    return text.value_or(QString());
}

int list(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 1);
    auto db = openData(a[0]);
    for (const StaffMember& m : store::staff::directory(*db)) {
        io.out << m.name << '\t' << shown(m.reading) << '\t' << shown(m.extension) << '\t'
               << shown(m.section) << '\t' << shown(m.mail) << '\t'
               << (m.forward ? QStringLiteral("転送") : QString()) << "\n";
    }
    return 0;
}

int add(const QStringList& args, Io& io) {
    const Arguments a(args, {}, kMemberOptions, 2);
    StaffMember m{a[1], {}, {}, {}, {}, false};
    applyOptions(a, m);
    check(m, a[1]);
    auto db = openData(a[0]);
    store::staff::add(*db, m);
    io.out << Text::tr("added %1").arg(m.name) << "\n";
    return 0;
}

const StaffMember& held(const std::vector<StaffMember>& members, const QString& name) {
    for (const StaffMember& m : members) {
        if (m.name == name) {
            return m;
        }
    }
    throw Failure(Text::tr("nobody named %1 in the directory").arg(name));
}

int set(const QStringList& args, Io& io) {
    QStringList options = kMemberOptions;
    options << QStringLiteral("--name");
    const Arguments a(args, {}, options, 2);
    auto db = openData(a[0]);
    StaffMember m = held(store::staff::directory(*db), a[1]);
    m.name = a.option(QStringLiteral("--name"), m.name);
    applyOptions(a, m);
    check(m, a[1]);
    if (!store::staff::set(*db, a[1], m)) {
        throw Failure(Text::tr("nobody named %1 in the directory").arg(a[1]));
    }
    io.out << Text::tr("changed %1").arg(m.name) << "\n";
    return 0;
}

int remove(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {}, 2);
    auto db = openData(a[0]);
    if (!store::staff::remove(*db, a[1])) {
        throw Failure(Text::tr("nobody named %1 in the directory").arg(a[1]));
    }
    io.out << Text::tr("removed %1").arg(a[1]) << "\n";
    return 0;
}

int exportStaff(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {QStringLiteral("--encoding")}, 2);
    const Encoding encoding = encodingOption(a);
    NewFile out(a[1]);
    auto db = openData(a[0]);
    const std::vector<StaffMember> members = store::staff::directory(*db);
    std::vector<char32_t> unencodable;
    auto encode = [&](const QString& text) { return encodeText(text, encoding, unencodable); };
    QByteArray bytes = byteOrderMark(encoding);
    csv::appendHeader(bytes, csvColumns(), encode);
    for (const StaffMember& m : members) {
        csv::appendRecord(bytes,
                          {m.name, m.reading, m.extension, m.section, m.mail,
                           m.forward ? csv::Value(QStringLiteral("1")) : std::nullopt},
                          encode);
    }
    if (!unencodable.empty()) {
        throw Failure(Text::tr("%1 character(s) cannot be written in %2; nothing written (use "
                               "--encoding utf-8 to keep every character)")
                          .arg(unencodable.size())
                          .arg(QLatin1String(encodingName(encoding))));
    }
    if (out.file().write(bytes) != bytes.size()) {
        throw Failure(Text::tr("cannot write %1: %2").arg(a[1], out.file().errorString()));
    }
    out.commit(sharedReadable());
    io.out << Text::tr("exported %1 staff to %2").arg(members.size()).arg(a[1]) << "\n";
    return 0;
}

int importStaff(const QStringList& args, Io& io) {
    const Arguments a(args, {}, {QStringLiteral("--encoding")}, 2);
    const Encoding encoding = encodingOption(a);
    QFile in(a[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        throw Failure(Text::tr("cannot read %1: %2").arg(a[1], in.errorString()));
    }
    const Decoded decoded = decodeFile(in.readAll(), encoding);
    if (!decoded.badLines.empty()) {
        throw Failure(Text::tr("line %1: bytes that are not %2; nothing imported")
                          .arg(decoded.badLines.front())
                          .arg(QLatin1String(encodingName(encoding))));
    }
    const csv::Parsed parsed = csv::parse(decoded.text);
    if (!parsed.problems.empty()) {
        throw Failure(Text::tr("line %1: %2; nothing imported")
                          .arg(parsed.problems.front().line)
                          .arg(parsed.problems.front().what));
    }
    if (parsed.records.empty()) {
        throw Failure(Text::tr("%1 is empty; nothing imported").arg(a[1]));
    }
    std::array<int, 6> at{};
    at.fill(-1);
    const csv::Record& header = parsed.records.front();
    for (std::size_t i = 0; i < header.values.size(); ++i) {
        const QString name = header.values[i].value_or(QString()).trimmed();
        const int k = int(csvColumns().indexOf(name));
        if (k < 0) {
            throw Failure(Text::tr("line 1: unknown column \"%1\" (the columns are %2)")
                              .arg(name, csvColumns().join(u',')));
        }
        at[std::size_t(k)] = int(i);
    }
    if (at[0] < 0) {
        throw Failure(Text::tr("line 1: the header lacks column %1").arg(csvColumns().first()));
    }
    std::vector<StaffMember> members;
    for (std::size_t r = 1; r < parsed.records.size(); ++r) {
        const csv::Record& record = parsed.records[r];
        if (record.values.size() != header.values.size()) {
            throw Failure(Text::tr("line %1: %2 values, the header has %3; nothing imported")
                              .arg(record.line)
                              .arg(record.values.size())
                              .arg(header.values.size()));
        }
        auto value = [&](int k) -> std::optional<QString> {
            if (at[std::size_t(k)] < 0) {
                return std::nullopt;
            }
            const csv::Value& v = record.values[std::size_t(at[std::size_t(k)])];
            return v && !v->isEmpty() ? v : std::nullopt;
        };
        const QString where = Text::tr("line %1").arg(record.line);
        StaffMember m{value(0).value_or(QString()),
                      value(1),
                      value(2),
                      value(3),
                      value(4),
                      forwardValue(value(5).value_or(QString()), where)};
        check(m, where);
        members.push_back(m);
    }
    auto db = openData(a[0]);
    // A column the file lacks keeps what the directory holds for a name it has.
    for (const StaffMember& was : store::staff::directory(*db)) {
        for (StaffMember& m : members) {
            if (m.name == was.name) {
                std::optional<QString>* texts[] = {&m.reading, &m.extension, &m.section, &m.mail};
                const std::optional<QString>* kept[] = {&was.reading, &was.extension, &was.section,
                                                        &was.mail};
                for (int k = 1; k <= 4; ++k) {
                    if (at[std::size_t(k)] < 0) {
                        *texts[k - 1] = *kept[k - 1];
                    }
                }
                m.forward = at[5] < 0 ? was.forward : m.forward;
            }
        }
    }
    const std::int64_t added = store::staff::importMembers(*db, members);
    io.out << Text::tr("imported %1 staff (%2 new, %3 changed)")
                  .arg(members.size())
                  .arg(added)
                  .arg(std::int64_t(members.size()) - added)
           << "\n";
    return 0;
}

int staff(const QStringList& args, Io& io) {
    if (args.isEmpty()) {
        throw UsageError(Text::tr("say what to do: list, add, set, remove, import or export"));
    }
    const QString what = args.first();
    const QStringList rest = args.mid(1);
    if (what == QLatin1String("list")) {
        return list(rest, io);
    }
    if (what == QLatin1String("add")) {
        return add(rest, io);
    }
    if (what == QLatin1String("set")) {
        return set(rest, io);
    }
    if (what == QLatin1String("remove")) {
        return remove(rest, io);
    }
    if (what == QLatin1String("import")) {
        return importStaff(rest, io);
    }
    if (what == QLatin1String("export")) {
        return exportStaff(rest, io);
    }
    throw UsageError(Text::tr("unknown staff command %1").arg(what));
}

}  // namespace

const Command kStaffCommand{
    "staff",
    QT_TRANSLATE_NOOP(
        "admin",
        "staff list DATAFILE\n"
        "staff add DATAFILE NAME [--reading よみ] [--extension NUMBER] [--section 所属]\n"
        "          [--mail ADDRESS] [--forward yes|no]\n"
        "staff set DATAFILE NAME [--name NEW-NAME] [the options of add]\n"
        "staff remove DATAFILE NAME\n"
        "staff import DATAFILE IN.csv [--encoding utf-8|shift_jis]\n"
        "staff export DATAFILE OUT.csv [--encoding utf-8|shift_jis]\n"
        "    Keep the staff directory (STAFF_T): one person a line, listed by よみ,\n"
        "    tab-separated (名前, よみ, 内線番号, 所属, メール, 転送). A message belongs\n"
        "    to the longest directory name its addressee begins with; the pick lists\n"
        "    show the directory's names first. A name is never empty, has no spaces\n"
        "    at either end and is held once; メール is a plain address; --forward yes\n"
        "    (転送) has the relay (forward) mail the person's messages and needs\n"
        "    --mail. set changes only the options given. The CSV file has the columns\n"
        "    名前 (required), よみ, 内線番号, 所属, メール, 転送 (1 or empty); import\n"
        "    adds new names and replaces those held (a column the file lacks keeps\n"
        "    what is held), all or nothing. Data made by an\n"
        "    earlier release gets the directory with upgrade.\n"),
    staff};

}  // namespace admin
