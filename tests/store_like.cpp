#include <gtest/gtest.h>

#include "store/like.h"

using store::likeMatch;
using store::prefixPattern;

namespace {

bool like(const QString& pattern, const QString& text) {
    const std::optional<bool> m = likeMatch(pattern, text);
    EXPECT_TRUE(m.has_value()) << pattern.toStdString();
    return m.value_or(false);
}

}  // namespace

TEST(Like, StarMatchesAnyRunIncludingNone) {
    EXPECT_TRUE(like("山田*", "山田"));
    EXPECT_TRUE(like("山田*", "山田太郎"));
    EXPECT_FALSE(like("山田*", "小山田"));
    EXPECT_TRUE(like("*田*", "小山田様"));
    EXPECT_TRUE(like("*", ""));
    EXPECT_TRUE(like("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(like("a*b*c", "aXXbYYbcd"));
}

TEST(Like, QuestionHashAndLists) {
    EXPECT_TRUE(like("?田", "山田"));
    EXPECT_FALSE(like("?田", "田"));
    EXPECT_TRUE(like("内線#", "内線5"));
    EXPECT_FALSE(like("内線#", "内線x"));
    EXPECT_TRUE(like("[abc]x", "bx"));
    EXPECT_FALSE(like("[abc]x", "dx"));
    EXPECT_TRUE(like("[a-f]1", "e1"));
    EXPECT_TRUE(like("[!a-f]1", "z1"));
    EXPECT_FALSE(like("[!a-f]1", "c1"));
    EXPECT_TRUE(like("[*]", "*"));
    EXPECT_FALSE(like("[*]", "x"));
}

TEST(Like, CaseIsIgnoredInEveryScript) {
    EXPECT_TRUE(like("smith*", "SMITH John"));
    EXPECT_TRUE(like("ＡＢＣ*", "ａｂｃｄ"));  // full-width Latin
    EXPECT_TRUE(like("σοφία", "ΣΟΦΊΑ"));       // Greek
    EXPECT_TRUE(like("иван*", "ИВАНОВ"));      // Cyrillic
    EXPECT_TRUE(like("[A-C]x", "bX"));
    EXPECT_FALSE(like("ＡＢＣ*", "ABC"));  // full-width and half-width stay distinct
}

TEST(Like, EmptyPatternMatchesOnlyEmptyText) {
    EXPECT_TRUE(like("", ""));
    EXPECT_FALSE(like("", "a"));
}

TEST(Like, CharactersOutsideTheBasicPlaneCountAsOne) {
    EXPECT_TRUE(like("?様", QStringLiteral("😀様")));
    EXPECT_TRUE(like(QStringLiteral("😀*"), QStringLiteral("😀😀")));
    EXPECT_FALSE(like("??様", QStringLiteral("😀様")));
}

TEST(Like, MalformedPatternIsReported) {
    EXPECT_FALSE(likeMatch("[abc", "a").has_value());
    EXPECT_FALSE(likeMatch("x[", "x").has_value());
}

TEST(Like, LongTextsDoNotBlowUp) {
    const QString text = QString(5000, u'a') + u'b';
    EXPECT_TRUE(like("*a*a*a*a*a*b", text));
    EXPECT_FALSE(like("*a*a*a*a*a*c", text));
}

TEST(PrefixPattern, NamesMatchLiterallyWhateverTheirCharacters) {
    for (const QString& name : {QStringLiteral("a*b"), QStringLiteral("what?"),
                                QStringLiteral("#1"), QStringLiteral("[x]"), QStringLiteral("[!x]"),
                                QStringLiteral("o'brien"), QStringLiteral("100%_\\")}) {
        const QString pattern = prefixPattern(name);
        EXPECT_TRUE(like(pattern, name)) << name.toStdString();
        EXPECT_TRUE(like(pattern, name + QStringLiteral("太郎"))) << name.toStdString();
    }
    EXPECT_FALSE(like(prefixPattern("a*b"), "axxb"));
    EXPECT_FALSE(like(prefixPattern("what?"), "whatx"));
    EXPECT_FALSE(like(prefixPattern("#1"), "11"));
    EXPECT_FALSE(like(prefixPattern("[x]"), "x"));
    EXPECT_TRUE(like(prefixPattern(""), "anyone"));
}
