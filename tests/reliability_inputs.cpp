// Awkward texts in every field and as the user's name: stored and read back exactly, matched
// literally, never read as part of a statement.
#include <gtest/gtest.h>

#include <QSet>

#include "store/date_time_text.h"
#include "store/error.h"
#include "store/memo_table.h"
#include "support/faults.h"
#include "support/files.h"
#include "support/processes.h"

using namespace testing_support;

namespace {

QString withNul() {
    return QString::fromUtf16(u"前\0後", 3);
}

// Texts a user might type, paste or be sent, one of each awkward kind; the one holding a NUL
// character only when the engine can keep it.
QStringList awkwardTexts(bool keepsNul = true) {
    QStringList texts = {
        QStringLiteral("O'Brien"),
        QStringLiteral("\"quoted\" and ''doubled''"),
        QStringLiteral("x'); Delete From MEMO_T; --"),
        QStringLiteral("' Or 1=1 Or 宛名 Like '*"),
        QStringLiteral("*"),
        QStringLiteral("?"),
        QStringLiteral("#"),
        QStringLiteral("["),
        QStringLiteral("]"),
        QStringLiteral("!"),
        QStringLiteral("%"),
        QStringLiteral("_"),
        QStringLiteral("\\"),
        QStringLiteral("a*b?c#d[e]f!g%h_i\\j"),
        QStringLiteral("[!a-z]"),
        QStringLiteral("[]"),
        QStringLiteral("[*]?"),
        QStringLiteral("\\\\server\\share\\"),
        QStringLiteral("😀📞 emoji"),
        QStringLiteral("𠮷野家 𩸽"),  // characters outside the basic plane
        QStringLiteral("עברית 123 text"),
        QStringLiteral("العربية"),
        QStringLiteral("\u202Eright-to-left override\u202C"),
        QStringLiteral("tab\there"),
        QStringLiteral("\x01start of heading"),
        QStringLiteral("delete\x7f"),
        QStringLiteral("line\r\nbreak"),
        withNul(),
        QStringLiteral("ＡＢＣ全角英字"),
        QStringLiteral("ｱｲｳｴｵ ﾊﾟﾋﾟ 半角カナ"),
        QStringLiteral("　全角空白　"),
        QStringLiteral("  spaces around  "),
        QStringLiteral("Straße ǅ İ ß"),
        QString(10000, u'長'),
        QString(5000, u'*') + QString(5000, u'?'),
    };
    if (!keepsNul) {
        texts.removeAll(withNul());
    }
    return texts;
}

struct Row {
    qint64 no;
    QStringList fields;  // 宛名 相手 受人 メモ 内外線 電話 受付日時 既読 ("<null>" for null)
};

QList<Row> rowsOf(const store::memo::Listing& rs) {
    QList<Row> out;
    for (const store::memo::ListedRow& m : rs) {
        Row r{m.no.value(), {}};
        for (const QString* f : {&m.addressee, &m.caller, &m.taker, &m.memo, &m.line, &m.phone,
                                 &m.receivedAt, &m.readOn}) {
            r.fields << (f->isNull() ? QStringLiteral("<null>") : *f);
        }
        out << r;
    }
    return out;
}

QList<Row> rowsOf(const std::vector<store::maintenance::ImportMessage>& messages) {
    QList<Row> out;
    for (const auto& m : messages) {
        Row r{m.no.value(), {}};
        for (const auto& text : m.texts) {
            r.fields << text.value_or(QStringLiteral("<null>"));
        }
        out << r;
    }
    return out;
}

// The stored message numbered no, as a list of none or one.
QList<Row> rowNumbered(store::Database& db, qint64 no) {
    QList<Row> out;
    for (const Row& r : rowsOf(store::maintenance::everyMessage(db))) {
        if (r.no == no) {
            out << r;
        }
    }
    return out;
}

QSet<qint64> numbers(const store::memo::Listing& rs) {
    QSet<qint64> out;
    for (const Row& r : rowsOf(rs)) {
        out.insert(r.no);
    }
    return out;
}

// Whether the office's Like, with the name's own wildcards taken literally, matches a text
// beginning with name: letters compare regardless of case.
bool beginsWith(const QString& text, const QString& name) {
    return text.startsWith(name, Qt::CaseInsensitive);
}

qint64 insertNumbered(store::Database& db, const store::memo::NewMessage& m) {
    store::memo::insert(db, m);
    return store::maintenance::everyMessage(db).back().no.value();
}

class AwkwardInput : public OnEachEngine {
protected:
    // A server cannot hold U+0000 in a text and refuses one, as the store's own tests check; a
    // data file keeps it like any other character.
    bool keepsNul() const { return GetParam() == Engine::File; }
};
DULVANE_ON_EACH_ENGINE(AwkwardInput);
class AwkwardInputOnAFile : public AwkwardInput {};
DULVANE_ON_FILE_ONLY(AwkwardInputOnAFile);

}  // namespace

TEST_P(AwkwardInput, EveryFieldIsStoredAndReadBackExactly) {
    Office office(GetParam());
    office.makeDataFile();
    auto db = office.openData();
    const QString at = store::dateTimeText(store::localNow());
    const QStringList texts = awkwardTexts(keepsNul());
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(40).toStdString());
        store::memo::NewMessage m{text, text, text, text.left(100), true, text.left(50), at};
        const qint64 no = insertNumbered(*db, m);
        const QList<Row> rows = rowNumbered(*db, no);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].fields, (QStringList{text, text, text, text.left(100), "外線",
                                               text.left(50), at, "<null>"}));
        // The name lists show it too, as one distinct value.
        const std::optional<QStringList> callers = store::memo::pickLists(*db).callers;
        ASSERT_TRUE(callers);
        EXPECT_EQ(callers->count(text), 1);
    }
    // Nothing else happened to the table.
    EXPECT_EQ(office.rowCount(), texts.size());
    EXPECT_EQ(quickCheck(office.dataPath()), QStringLiteral("ok"));
}

TEST_P(AwkwardInputOnAFile, ANulInsideATextIsKeptAndMatchedLikeAnyOtherCharacter) {
    Office office;
    office.makeDataFile();
    auto db = office.openData();
    const QString name = withNul();
    const QString before = name.left(1);  // "前": the text up to the NUL
    insertNumbered(*db, {name, "a", name, "m", false, "", "t"});
    insertNumbered(*db, {before, "a", before, "m", false, "", "t"});
    insertNumbered(*db, {name + QStringLiteral("様"), "a", "x", "m", false, "", "t"});
    // The name with the NUL finds its own rows, not the one cut at the NUL...
    const QList<Row> received = rowsOf(store::memo::receivedList(*db, name));
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(received[0].fields[0], name + QStringLiteral("様"));
    EXPECT_EQ(received[1].fields[0], name);
    EXPECT_EQ(received[1].fields[0].size(), 3);
    // ...and the text before the NUL is a prefix of it, as of any text.
    EXPECT_EQ(store::memo::receivedList(*db, before).size(), 3);
    EXPECT_EQ(store::memo::sentList(*db, name).size(), 1);
}

TEST_P(AwkwardInput, ALoneSurrogateIsStoredAsTheReplacementCharacterAndItsNeighboursAreKept) {
    Office office(GetParam());
    office.makeDataFile();
    auto db = office.openData();
    const QChar high(0xD800);
    const QChar low(0xDC00);
    const QString text =
        QStringLiteral("a") + high + QStringLiteral("bc") + low + QStringLiteral("d");
    const qint64 no = insertNumbered(*db, {text, text, text, text, false, text, text});
    const QList<Row> rows = rowNumbered(*db, no);
    ASSERT_EQ(rows.size(), 1);
    const QString kept = QStringLiteral("a\uFFFDbc\uFFFDd");
    EXPECT_EQ(rows[0].fields.mid(0, 4), (QStringList{kept, kept, kept, kept}));
    // The same name finds the row: both sides went through the same conversion.
    EXPECT_EQ(store::memo::receivedList(*db, text).size(), 1);
}

TEST_P(AwkwardInput, AsTheUsersNameItFindsExactlyItsOwnRowsAndThoseOfNamesStartingWithIt) {
    const QStringList all = awkwardTexts(keepsNul());
    int checked = 0;
    for (const QString& name : all) {
        SCOPED_TRACE(name.left(40).toStdString());
        // Each name on a table of its own.
        Office office(GetParam());
        office.makeDataFile();
        auto db = office.openData();
        // The name, longer names starting with it, and near misses: every other awkward
        // text, the name cut short, the name after another character, the name with each
        // wildcard replaced by what it would match, the name in other case.
        QStringList addressees = all;
        addressees << name + QStringLiteral("様") << name + name << QStringLiteral("x") + name
                   << name.toUpper() + QStringLiteral("様") << name.toLower();
        // Cut short by one whole character (a pair of surrogates stays whole).
        const qsizetype last = name.size() > 1 && name.back().isLowSurrogate() ? 2 : 1;
        if (name.size() > last) {
            addressees << name.chopped(last);
        }
        QString expanded = name;
        expanded.replace(u'*', QStringLiteral("ZZ")).replace(u'?', u'Q').replace(u'#', u'7');
        expanded.replace(u'[', u'(').replace(u'%', u'P').replace(u'_', u'U');
        addressees << expanded;
        for (const QString& a : addressees) {
            // Sent by, as well as to, the same name.
            store::memo::insert(*db, {a, "相手", a, "伝言", false, "", "2026/12/07 10:00"});
        }
        // Stored as sent, numbered in the order sent.
        QMap<qint64, QString> byNumber;
        QStringList stored;
        for (const Row& r : rowsOf(store::maintenance::everyMessage(*db))) {
            byNumber.insert(r.no, r.fields[0]);
            stored << r.fields[0];
        }
        EXPECT_EQ(stored, addressees);
        QSet<qint64> expected;
        for (auto it = byNumber.begin(); it != byNumber.end(); ++it) {
            if (beginsWith(it.value(), name)) {
                expected.insert(it.key());
            }
        }
        ASSERT_GE(expected.size(), 2);
        EXPECT_EQ(numbers(store::memo::receivedList(*db, name)), expected);
        EXPECT_EQ(numbers(store::memo::sentList(*db, name)), expected);
        EXPECT_TRUE(store::memo::hasUnread(*db, name));

        // Marking read touches exactly the listed rows; the name never widens the statement.
        store::memo::Listing listed = store::memo::receivedList(*db, name);
        EXPECT_EQ(
            store::memo::markRead(*db, name, "2026/12/07", store::memo::highestNumber(listed)),
            expected.size());
        EXPECT_FALSE(store::memo::hasUnread(*db, name));
        for (const Row& r : rowsOf(store::maintenance::everyMessage(*db))) {
            EXPECT_EQ(r.fields[7] == QStringLiteral("<null>"), !expected.contains(r.no))
                << r.fields[0].left(40).toStdString();
            EXPECT_EQ(r.fields[0], byNumber.value(r.no));
        }
        EXPECT_EQ(office.rowCount(), addressees.size());
        ++checked;
    }
    EXPECT_EQ(checked, all.size());
}

TEST_P(AwkwardInput, AWorkstationNamedAwkwardlyOnTheCommandLineSendsAndListsItsOwnMessages) {
    Office office(GetParam());
    office.makeDataFile();
    const QString name = QStringLiteral("O'Brien*[x]#?😀 עברית");
    office.addMessage(QStringLiteral("O'Brien"), QStringLiteral("佐藤"), QStringLiteral("佐藤"));
    const DriverReport r =
        runDriver({"--file", office.dataPath(), "--name", name, "--mix",
                   "send=2,received=1,sent=1,poll=1", "--count", "20", "--seed", "4"});
    EXPECT_EQ(r.exitCode, 0) << r.text();
    const qint64 sends = r.ops.value("send").count;
    ASSERT_GT(sends, 0);
    auto db = office.openData();
    store::memo::Listing mine = store::memo::sentList(*db, name);
    EXPECT_EQ(mine.size(), sends);
    for (const Row& row : rowsOf(mine)) {
        EXPECT_EQ(row.fields[0], name);
        EXPECT_EQ(row.fields[2], name);
    }
    // "O'Brien" is not a name beginning with the workstation's: never listed, never marked.
    store::memo::Listing others = store::memo::receivedList(*db, QStringLiteral("O'Brien"));
    EXPECT_EQ(others.size(), sends + 1);
    EXPECT_EQ(rowsOf(store::memo::receivedList(*db, QStringLiteral("O'Brien"))).last().fields[7],
              QStringLiteral("<null>"));
}
