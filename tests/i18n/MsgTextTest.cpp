// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/Reporter.h"
#include "support/CaseName.h"

namespace trelvik::i18n {
namespace {

struct UnescapeCase {
    std::u16string in, out;
};

class UnescapeTest : public ::testing::TestWithParam<UnescapeCase> {};

TEST_P(UnescapeTest, TurnsFourEscapesIntoCharacters) {
    std::u16string text = GetParam().in;
    UnescapeMsgText(text);
    EXPECT_EQ(text, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, UnescapeTest,
    ::testing::Values(UnescapeCase{u"a\\nb", u"a\nb"}, UnescapeCase{u"\\r\\t", u"\r\t"},
                      UnescapeCase{u"a\\\\b", u"a\\b"}, UnescapeCase{u"a\\xb", u"a\\xb"},
                      UnescapeCase{u"end\\", u"end"}, UnescapeCase{u"\\", u""},
                      UnescapeCase{u"\\\\n", u"\\n"}, // an escaped backslash does not start another escape
                      UnescapeCase{u"\\\\\\", u"\\"}, // escaped backslash, then a lone one at the end
                      UnescapeCase{u"\\N", u"\\N"}, UnescapeCase{u"\\%d", u"\\%d"},
                      UnescapeCase{u"\\\u00e4", u"\\\u00e4"}, UnescapeCase{u"", u""},
                      UnescapeCase{u"plain", u"plain"}),
    testing::caseNames(&UnescapeCase::in, testing::Punctuation::Spelled));

struct FormatCase {
    const char* name;
    std::u16string format;
    std::vector<MsgArg> args;
    std::u16string out;
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, FillsOnlyOurPlaceholders) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatMsgText(c.format, c.args), c.out);
}

const FormatCase kFormats[] = {
    {"String", u"The \"%s\" medium", {MsgArg(u"SD card")}, u"The \"SD card\" medium"},
    {"Number", u"cmd_code=%d", {MsgArg(-56)}, u"cmd_code=-56"},
    {"Both", u"%s: %d", {MsgArg(u"x"), MsgArg(7)}, u"x: 7"},
    {"Percent", u"100%% done", {}, u"100% done"},
    {"PercentBeforePlaceholder", u"%%%d", {MsgArg(5)}, u"%5"},
    {"WriteSpecifier", u"a%nb", {MsgArg(1)}, u"a%nb"},
    {"HexSpecifier", u"%x|%d", {MsgArg(255)}, u"%x|255"},
    {"WidthSpecifier", u"[%5s]", {MsgArg(u"a")}, u"[%5s]"},
    {"LongSpecifier", u"%ls %lld", {MsgArg(u"a"), MsgArg(1)}, u"%ls %lld"},
    {"PointerSpecifier", u"%p%c%f%u%i", {MsgArg(1)}, u"%p%c%f%u%i"},
    {"StringGivenNumber", u"%s and %s", {MsgArg(3), MsgArg(u"b")}, u"%s and b"},
    {"NumberGivenString", u"%d and %d", {MsgArg(u"x"), MsgArg(2)}, u"%d and 2"},
    {"MoreSpecifiersThanArgs", u"%s %d %s", {MsgArg(u"a")}, u"a %d %s"},
    {"NoArgs", u"%s%d", {}, u"%s%d"},
    {"SurplusArgs", u"only %d", {MsgArg(1), MsgArg(2), MsgArg(u"z")}, u"only 1"},
    {"LonePercentAtEnd", u"50%", {MsgArg(1)}, u"50%"},
    {"OnlyPercent", u"%", {}, u"%"},
    {"ArgHoldsPlaceholders", u"<%s>", {MsgArg(u"%s%d%n%%")}, u"<%s%d%n%%>"},
    {"NumberExtremes", u"%d %d", {MsgArg(-2147483647 - 1), MsgArg(2147483647)}, u"-2147483648 2147483647"},
    {"Empty", u"", {MsgArg(1)}, u""},
};

INSTANTIATE_TEST_SUITE_P(Formats, FormatTest, ::testing::ValuesIn(kFormats), testing::namedCases());

TEST(FormatMsgText, CutsAt511Units) {
    const std::u16string big(600, u'a');
    EXPECT_EQ(FormatMsgText(big, {}).size(), 511u);
    const std::vector<MsgArg> args(300, MsgArg(std::u16string(1000, u'b')));
    std::u16string format;
    for (int i = 0; i < 300; ++i)
        format += u"%s";
    const std::u16string out = FormatMsgText(format, args);
    EXPECT_EQ(out, std::u16string(511, u'b'));
}

TEST(FormatMsgText, CutNeverSplitsSurrogatePair) {
    // 510 units, then a pair that would straddle the limit.
    const std::u16string text = std::u16string(510, u'a') + u"\U0001F600" + u"z";
    const std::u16string out = FormatMsgText(text, {});
    EXPECT_EQ(out, std::u16string(510, u'a'));
}

TEST(FormatMsgText, PlaceholderAfterLimitIsNotExpanded) {
    const std::u16string text = std::u16string(511, u'a') + u"%s";
    const std::vector<MsgArg> args = {MsgArg(u"tail")};
    EXPECT_EQ(FormatMsgText(text, args), std::u16string(511, u'a'));
}

TEST(CutText, KeepsWholePairs) {
    std::u16string text = u"ab\U0001F600";
    cutText(text, 3);
    EXPECT_EQ(text, u"ab");
    text = u"ab\U0001F600";
    cutText(text, 4);
    EXPECT_EQ(text, u"ab\U0001F600");
    text = u"abc";
    cutText(text, 0);
    EXPECT_EQ(text, u"");
}

} // namespace
} // namespace trelvik::i18n
