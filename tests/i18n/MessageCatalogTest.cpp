// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "i18n/MessageCatalog.h"
#include "support/CaseName.h"
#include "support/MemoryProfileReader.h"
#include "text/Utf8TextCodec.h"

namespace trelvik::i18n {
namespace {

const std::string kPath = "/opt/trelvik/Camera_Setting_UNICODE_msg.ini";

class CatalogTest : public ::testing::Test {
protected:
    void useFile(std::string_view bytes) {
        reader.setFile(kPath, bytes);
        catalog.MessageFilePath = u"/opt/trelvik/Camera_Setting_UNICODE_msg.ini";
    }
    testing::MemoryProfileReader reader;
    text::Utf8TextCodec codec;
    MessageCatalog catalog{reader, codec};
};

TEST_F(CatalogTest, KeyIsSumInUpperCaseHexInSectionString) {
    useFile("[String]\n0100=Camera Auto Connect\n01ab=lower-case key\n1140=Deutsch 140\n"
            "[Other]\n0101=not here\n");
    EXPECT_EQ(catalog.GetMsgText(256), u"Camera Auto Connect");
    EXPECT_EQ(catalog.GetMsgText(0x1AB), u"lower-case key");
    EXPECT_EQ(catalog.GetMsgText(257), u"<n/a:0101>");
    EXPECT_EQ(catalog.GetMsgText(0x2AB), u"<n/a:02AB>");
    catalog.LanguageBase = 0x1000;
    EXPECT_EQ(catalog.GetMsgText(0x140), u"Deutsch 140");
    for (const auto& lookup : reader.lookups()) {
        EXPECT_TRUE(lookup.wide);
        EXPECT_EQ(lookup.bufferSize, 256u);
        EXPECT_EQ(lookup.section, "String");
    }
}

TEST_F(CatalogTest, MissingKeyFallsBackUnderBase) {
    useFile("[String]\n0140=English\n");
    catalog.LanguageBase = 0x1000;
    EXPECT_EQ(catalog.GetMsgText(0x140), u"<n/a:1140>");
    EXPECT_EQ(catalog.GetLabelText("#140"), u"<n/a:1140>");
    EXPECT_FALSE(catalog.findMsgText(0x140).has_value());
}

TEST_F(CatalogTest, EmptyOrQuotedEmptyValueFallsBack) {
    useFile("[String]\n0100=\n0101=\"\"\n0102=\"  spaced  \"\n");
    EXPECT_EQ(catalog.GetMsgText(0x100), u"<n/a:0100>");
    EXPECT_EQ(catalog.GetMsgText(0x101), u"<n/a:0101>");
    EXPECT_EQ(catalog.GetMsgText(0x102), u"  spaced  ");
}

TEST_F(CatalogTest, NothingIsCached) {
    useFile("[String]\n0100=English\n1100=Deutsch\n");
    EXPECT_EQ(catalog.GetMsgText(256), u"English");
    catalog.LanguageBase = 0x1000;
    EXPECT_EQ(catalog.GetMsgText(256), u"Deutsch");
    reader.setFile(kPath, "[String]\n1100=Neu\n");
    EXPECT_EQ(catalog.GetMsgText(256), u"Neu");
}

TEST_F(CatalogTest, WithoutMessageFileEveryLookupFallsBack) {
    reader.setFile("", "[String]\n0101=never\n");
    EXPECT_EQ(catalog.GetMsgText(257), u"<n/a:0101>");
    EXPECT_EQ(catalog.GetLabelText("#101"), u"<n/a:0101>");
    LanguageEntry entry;
    EXPECT_FALSE(catalog.ReadLanguageEntry(0, entry));
}

TEST_F(CatalogTest, LongTextsAreCutTo255) {
    useFile("[String]\n0100=" + std::string(300, 'm') + "\n");
    EXPECT_EQ(catalog.GetMsgText(256), std::u16string(255, u'm'));
}

TEST_F(CatalogTest, SumWrapsInThirtyTwoBits) {
    useFile("[String]\n0FFF=wrapped\n");
    catalog.LanguageBase = 0x1000;
    EXPECT_EQ(catalog.GetLabelText("#FFFFFFFF"), u"wrapped");
    catalog.LanguageBase = 0x7FFFFFFF;
    EXPECT_EQ(catalog.GetMsgText(0x7FFFFFFF), u"<n/a:FFFFFFFE>");
}

struct LabelCase {
    const char* label;
    std::u16string out;
};

class LabelTest : public CatalogTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(LabelTest, ResolvesHashLabelsOnly) {
    useFile("[String]\n0000=Message zero\n0140=Hundred forty\n0abc=Lower\n");
    EXPECT_EQ(catalog.GetLabelText(GetParam().label), GetParam().out) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelTest,
                         ::testing::Values(LabelCase{"#140", u"Hundred forty"},
                                           LabelCase{"#0140", u"Hundred forty"},
                                           LabelCase{"#140 x", u"Hundred forty"}, LabelCase{"#abc", u"Lower"},
                                           LabelCase{"140", u"140"}, LabelCase{"ABC", u"ABC"},
                                           LabelCase{"#", u"Message zero"}, LabelCase{"#zz", u"Message zero"},
                                           LabelCase{"#0x140", u"Message zero"}, LabelCase{" #140", u" #140"},
                                           LabelCase{"#999", u"<n/a:0999>"}, LabelCase{"", u""},
                                           LabelCase{"Gr\xc3\xbc\xc3\x9f", u"Gr\u00fc\u00df"}),
                         testing::caseNames(&LabelCase::label, testing::Punctuation::Spelled));

TEST_F(CatalogTest, PlainLabelIsCutTo254) {
    EXPECT_EQ(catalog.GetLabelText(std::string(300, 'l')), std::u16string(254, u'l'));
    EXPECT_EQ(catalog.GetLabelText(std::string(253, 'l') + "\xf0\x9f\x98\x80"), std::u16string(253, u'l'));
}

struct LanguageCase {
    const char* name;
    const char* line; // nullptr: no key
    bool ok;
    std::u16string display;
    std::uint16_t langId;
    std::int32_t base;
};

class LanguageLineTest : public CatalogTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageLineTest, NeedsExactlyThreeUntrimmedFields) {
    const LanguageCase& c = GetParam();
    useFile(c.line ? std::string("[Language]\n0=") + c.line + "\n" : std::string("[Language]\n1=a,0,0\n"));
    LanguageEntry entry{u"unchanged", 0x1234, 0x5678};
    EXPECT_EQ(catalog.ReadLanguageEntry(0, entry), c.ok);
    if (c.ok) {
        EXPECT_EQ(entry.display_name, c.display);
        EXPECT_EQ(entry.lang_id, c.langId);
        EXPECT_EQ(entry.base, c.base);
    } else {
        EXPECT_EQ(entry.display_name, u"unchanged");
    }
}

const LanguageCase kLanguageLines[] = {
    {"Plain", "English,0409,0000", true, u"English", 0x0409, 0},
    {"AnyVariant", "Deutsch,FF07,1000", true, u"Deutsch", 0xFF07, 0x1000},
    {"Utf8Name", "\xe4\xb8\xad\xe6\x96\x87(\xe7\xb9\x81\xe9\xab\x94),0404,2000", true,
     u"\u4e2d\u6587(\u7e41\u9ad4)", 0x0404, 0x2000},
    {"BlanksAfterCommas", "Chinese, 0404, 2000", true, u"Chinese", 0, 0},
    {"BlankBeforeComma", "Name ,0404 ,2000 ", true, u"Name ", 0x0404, 0x2000},
    {"HexPrefixGivesZero", "x,0x0404,0x1000", true, u"x", 0, 0},
    {"LowSixteenBits", "x,10409,FFFFFFFF", true, u"x", 0x0409, -1},
    {"EmptyFields", ",,", true, u"", 0, 0},
    {"NameCutTo15", "ABCDEFGHIJKLMNOPQRST,0409,0", true, u"ABCDEFGHIJKLMNO", 0x0409, 0},
    {"FieldCutTo31", "x,0000000000000000000000000000001234,0", true, u"x", 0x0001, 0},
    {"Quoted", "\"English,0409,0\"", true, u"English", 0x0409, 0},
    {"TwoFields", "English,0409", false, u"", 0, 0},
    {"FourFields", "English,0409,0,1", false, u"", 0, 0},
    {"TrailingComma", "English,0409,0,", false, u"", 0, 0},
    {"OneField", "English", false, u"", 0, 0},
    {"MissingKey", nullptr, false, u"", 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Lines, LanguageLineTest, ::testing::ValuesIn(kLanguageLines), testing::namedCases());

TEST_F(CatalogTest, LanguageListEndsAtFirstUnreadableEntry) {
    useFile("[Language]\n0=English,0409,0\n1=Deutsch,FF07,1000\n2=Japanese,0411,4000\n4=Late,0,0\n");
    const auto table = catalog.readLanguageTable();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[2].display_name, u"Japanese");
    useFile("[Language]\n0=English,0409,0\n1=Broken,0407\n2=Japanese,0411,4000\n");
    EXPECT_EQ(catalog.readLanguageTable().size(), 1u);
}

TEST_F(CatalogTest, LanguageListHoldsAtMostSixteen) {
    std::string file = "[Language]\n";
    for (int i = 0; i < 20; ++i)
        file += std::to_string(i) + "=L" + std::to_string(i) + ",0409,0\n";
    useFile(file);
    const auto table = catalog.readLanguageTable();
    ASSERT_EQ(table.size(), 16u);
    EXPECT_EQ(table[15].display_name, u"L15");
}

struct ChoiceCase {
    const char* name;
    std::vector<std::uint16_t> ids;
    std::uint16_t system;
    std::optional<int> chosen;
};

class ChooseLanguageTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseLanguageTest, FirstExactOrAnyVariantMatch) {
    std::vector<LanguageEntry> entries;
    for (std::uint16_t id : GetParam().ids)
        entries.push_back({u"x", id, 0});
    EXPECT_EQ(ChooseLanguage(entries, GetParam().system), GetParam().chosen);
}

const ChoiceCase kChoices[] = {
    {"EmptyList", {}, 0x0409, std::nullopt},
    {"NoMatchTakesFirst", {0x0409, 0x0407}, 0x0411, 0},
    {"Exact", {0x0409, 0x0407}, 0x0407, 1},
    {"AnyVariantBeforeExactOnTraditional", {0x0409, 0xFF04, 0x0404}, 0x0404, 1},
    {"AnyVariantBeforeExactOnSimplified", {0x0409, 0xFF04, 0x0404}, 0x0804, 1},
    {"ExactBeforeAnyVariant", {0x0404, 0xFF04}, 0x0404, 0},
    {"AnyVariantMatchesSwissGerman", {0x0409, 0xFF07}, 0x0807, 1},
    {"OnlyLowByteCompared", {0x0409, 0xFF07}, 0x0307, 1}, // the low byte, not the 10-bit primary language
    {"HighByteNotFF", {0x0409, 0x0107}, 0x0807, 0},
    {"FirstOfDuplicates", {0x0409, 0x0807, 0x0807}, 0x0807, 1},
    {"ZeroLangIdOnlyExact", {0x0409, 0x0000}, 0x0000, 1},
    {"AnyVariantDoesNotMatchOtherLowByte", {0x0409, 0xFF07}, 0x0411, 0},
};

INSTANTIATE_TEST_SUITE_P(Lists, ChooseLanguageTest, ::testing::ValuesIn(kChoices), testing::namedCases());

} // namespace
} // namespace trelvik::i18n
