// The office's Like as the engine runs it: the SQL function installed on a connection must
// give what likeMatch gives, whatever the text's bytes, and its quick paths for a name's
// prefix pattern must agree with the general matcher.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QStringList>

#include "store/file/like_function.h"
#include "store/like.h"

using store::likeMatch;
using store::prefixPattern;

namespace {

const QStringList kTexts = {
    "",
    "山",
    "山田",
    "山田太郎",
    "小山田",
    "やまだ",
    "SMITH",
    "smith john",
    "Smith",
    "ＡＢＣｄ",
    "ａｂｃＤ",
    "ABCD",
    "ΣΟΦΊΑ",
    "σοφία",
    "ИВАНОВ",
    "a*b",
    "a*bc",
    "axb",
    "[x]",
    "x",
    "#1",
    "11",
    "what?",
    "whatx",
    "!x",
    "]",
    "a]b",
    QStringLiteral("😀様"),
    QStringLiteral("😀😀"),
    "o'brien",
    "100%_\\",
    "内線5",
    "  lead",
    "tail  ",
};

// Patterns whose meaning does not change when "[]" (a list that matches no character and
// consumes none) is added at the end, which sends them through the general matcher.
const QStringList kPatterns = {
    "",         "山田",     "山田*",
    "山田**",   "山",       "smith*",
    "SMITH",    "ａｂｃ*",  "ＡＢＣＤ",
    "σοφία",    "иван*",    "*",
    "[*]*",     "a[*]b",    "a[*]b*",
    "[[]x]*",   "[!]*",     "[]]*",
    "]*",       "a]b",      "#1*",
    "[#]1*",    "what[?]",  "what[?]*",
    "?",        "?様",      QStringLiteral("😀*"),
    "o'brien*", "100%_\\*", "内線#",
};

}  // namespace

TEST(LikeQuickPaths, AgreeWithTheGeneralMatcher) {
    for (const QString& pattern : kPatterns) {
        for (const QString& text : kTexts) {
            const std::optional<bool> quick = likeMatch(pattern, text);
            const std::optional<bool> general = likeMatch(pattern + QStringLiteral("[]"), text);
            ASSERT_EQ(quick.has_value(), general.has_value());
            EXPECT_EQ(quick, general) << pattern.toStdString() << " / " << text.toStdString();
        }
    }
    for (const QString& text : kTexts) {
        for (const QString& name : kTexts) {
            EXPECT_EQ(likeMatch(prefixPattern(name), text),
                      likeMatch(prefixPattern(name) + QStringLiteral("[]"), text))
                << name.toStdString() << " / " << text.toStdString();
            // A prefix pattern matches exactly the texts that begin with the name, ignoring case.
            EXPECT_EQ(likeMatch(prefixPattern(name), text).value_or(false),
                      text.toCaseFolded().startsWith(name.toCaseFolded()))
                << name.toStdString() << " / " << text.toStdString();
        }
    }
}

class LikeInEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        store::file::installLike(db_);
        exec("CREATE TABLE t (id INTEGER PRIMARY KEY, v)");
    }
    void TearDown() override { sqlite3_close(db_); }

    void exec(const char* sql) {
        ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_);
    }
    void insert(const QString& text) {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_, "INSERT INTO t (v) VALUES (?)", -1, &st, nullptr),
                  SQLITE_OK);
        sqlite3_bind_text16(st, 1, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
        sqlite3_finalize(st);
    }

    // For each row: the SQL function's answer ("v Like ?") and likeMatch on the text as the
    // engine converts it to UTF-16.
    void expectSameAnswers(const QString& pattern) {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(
            sqlite3_prepare_v2(db_, "SELECT v Like ?, v FROM t ORDER BY id", -1, &st, nullptr),
            SQLITE_OK);
        const QByteArray utf8 = pattern.toUtf8();
        sqlite3_bind_text(st, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            const int sqlAnswer = sqlite3_column_int(st, 0);
            const void* data = sqlite3_column_text16(st, 1);
            const QString text(static_cast<const QChar*>(data), sqlite3_column_bytes16(st, 1) / 2);
            const std::optional<bool> expected = likeMatch(pattern, text);
            ASSERT_TRUE(expected.has_value());
            EXPECT_EQ(sqlAnswer, *expected ? 1 : 0)
                << pattern.toStdString() << " / row " << rows << " " << text.toStdString();
        }
        sqlite3_finalize(st);
        EXPECT_GT(rows, 0);
    }

    sqlite3* db_ = nullptr;
};

TEST_F(LikeInEngine, GivesWhatLikeMatchGivesForEveryText) {
    for (const QString& text : kTexts) {
        insert(text);
    }
    for (const QString& pattern : kPatterns) {
        expectSameAnswers(pattern);
    }
    for (const QString& name : kTexts) {
        expectSameAnswers(prefixPattern(name));
    }
}

TEST_F(LikeInEngine, TextsThatAreNotWellFormedUtf8AreReadAsTheEngineConvertsThem) {
    // Bytes written by another program: a cut-off character, a stray continuation byte, an
    // overlong form, an encoded surrogate, a byte that never occurs in UTF-8, and numbers
    // and a blob, which are not texts at all.
    exec(
        "INSERT INTO t (v) VALUES "
        "(CAST(X'E5B1B1E794B0E5A4AA' AS TEXT)), (CAST(X'E5B1B1E794B0FF' AS TEXT)), "
        "(CAST(X'E5B1B1E794B080' AS TEXT)), (CAST(X'E5B1B1C0AF' AS TEXT)), "
        "(CAST(X'E5B1B1EDA080' AS TEXT)), (CAST(X'E5B1B1E794' AS TEXT)), "
        "(CAST(X'FE' AS TEXT)), (CAST(X'E5B1B1EFBFBF' AS TEXT)), (CAST(X'61C3A9' AS TEXT)), "
        "(CAST(X'6180' AS TEXT)), (CAST(X'F09F9880E6A798' AS TEXT)), (12), (1.5), "
        "(X'E5B1B1E794B0')");
    for (const QString& pattern :
         {QStringLiteral("山田*"), QStringLiteral("山*"), QStringLiteral("山田"),
          QStringLiteral("山?"), QStringLiteral("*田*"), QStringLiteral("1*"), QStringLiteral("#*"),
          QStringLiteral("*"), QStringLiteral("?*")}) {
        expectSameAnswers(pattern);
    }
}

TEST_F(LikeInEngine, NullGivesNullAndAMalformedPatternIsAnError) {
    insert(QStringLiteral("x"));
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT NULL Like 'a', 'a' Like NULL", -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_type(st, 0), SQLITE_NULL);
    EXPECT_EQ(sqlite3_column_type(st, 1), SQLITE_NULL);
    sqlite3_finalize(st);

    ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT v Like 'x[' FROM t", -1, &st, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_step(st), SQLITE_ERROR);
    EXPECT_STREQ(sqlite3_errmsg(db_), "invalid pattern string in Like");
    sqlite3_finalize(st);
}

TEST_F(LikeInEngine, APatternThatChangesFromRowToRowIsReadForEachRow) {
    exec("CREATE TABLE p (id INTEGER PRIMARY KEY, pat, txt)");
    exec(
        "INSERT INTO p (pat, txt) VALUES ('山田*', '山田太郎'), ('佐藤*', '山田太郎'), "
        "('*郎', '山田太郎'), ('ab', 'AB'), ('ab', 'abc')");
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db_, "SELECT group_concat(txt Like pat, '') FROM p", -1, &st, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "10110");
    sqlite3_finalize(st);
}
