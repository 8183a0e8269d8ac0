// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "support/CaseName.h"
#include "support/MemoryProfileReader.h"
#include "support/RecordingBoxPresenter.h"
#include "text/Unicode.h"
#include "text/Utf8TextCodec.h"

namespace trelvik::cmdtable {
namespace {

const std::string kPath = "/opt/trelvik/mass_cmd.ini";

class TableHarness {
public:
    explicit TableHarness(ToolMode toolMode = ToolMode::Full)
        : catalog(reader, codec), reporter(boxes, catalog, codec), table(reader, reporter, toolMode) {}

    int load(std::string_view file) {
        reader.setFile(kPath, file);
        return table.MassCmd_LoadTable(kPath);
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> out;
        for (const auto& t : boxes.texts())
            out.push_back(text::utf16ToUtf8(t));
        return out;
    }

    testing::MemoryProfileReader reader;
    text::Utf8TextCodec codec;
    testing::RecordingBoxPresenter boxes;
    i18n::MessageCatalog catalog;
    i18n::Reporter reporter;
    MassCmdTable table;
};

// A section "Mass_Cmd_%02X" with the given body lines.
std::string section(int index, const std::string& body) {
    char name[32];
    std::snprintf(name, sizeof name, "[Mass_Cmd_%02X]\n", static_cast<unsigned>(index));
    return name + body;
}

TEST(MassCmdLoad, ExampleFileLoadsTwoEntries) {
    TableHarness h;
    ASSERT_EQ(h.load("[APP]\r\nTitle=Trail camera settings\r\n\r\n"
                     "[Mass_Cmd_00]\r\nname=RESOLUTION_MODE\r\ncmd=0x01\r\ncount=3\r\n0=0:640x480\r\n"
                     "1=1:1280x960   ; text after the last semicolon is dropped\r\n2=0x02:1920x1080\r\n\r\n"
                     "[Mass_Cmd_01]\r\nname=CONTINUOUS_CAPTURE_COUNT\r\ncmd=56\r\nrange=1-10\r\n"),
              1);
    EXPECT_EQ(h.boxes.count(), 0u);
    ASSERT_EQ(h.table.entry_count(), 2);
    const MassCmd& list = h.table.entries()[0];
    EXPECT_EQ(list.section, "Mass_Cmd_00");
    EXPECT_EQ(list.name, "RESOLUTION_MODE");
    EXPECT_EQ(list.cmd_code, 1);
    ASSERT_EQ(list.count, 3);
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[0].value, 0);
    EXPECT_EQ(list.items[0].label, "640x480");
    EXPECT_EQ(list.items[1].value, 1);
    EXPECT_EQ(list.items[1].label, "1280x960");
    EXPECT_EQ(list.items[2].value, 2);
    EXPECT_EQ(list.items[2].label, "1920x1080");
    EXPECT_EQ(list.range_min, 0);
    EXPECT_EQ(list.range_max, 0);
    const MassCmd& ranged = h.table.entries()[1];
    EXPECT_EQ(ranged.cmd_code, 56);
    EXPECT_EQ(ranged.count, 0);
    EXPECT_TRUE(ranged.items.empty());
    EXPECT_EQ(ranged.range_min, 1);
    EXPECT_EQ(ranged.range_max, 10);
}

TEST(MassCmdLoad, EveryValueIsReadWith256ByteBuffer) {
    TableHarness h;
    h.load(section(0, "name=A\ncmd=1\ncount=1\n0=1:x\n") + section(1, "name=B\ncmd=2\nrange=1-2\n"));
    ASSERT_FALSE(h.reader.lookups().empty());
    for (const auto& lookup : h.reader.lookups()) {
        EXPECT_EQ(lookup.bufferSize, 256u) << lookup.section << "/" << lookup.key;
        EXPECT_FALSE(lookup.wide);
    }
}

TEST(MassCmdLoad, OnlyTheFirst255CharactersOfAValueCount) {
    // The remark's semicolon lies beyond the buffer, so the label's own ";" starts the cut.
    TableHarness h;
    const std::string choice = "1:A;" + std::string(300, 'x') + " ; remark";
    ASSERT_EQ(h.load(section(0, "name=A\ncmd=1\ncount=1\n0=" + choice + "\n")), 1) << h.boxTexts()[0];
    EXPECT_EQ(h.table.entries()[0].items[0].label, "A");
}

struct ChoiceCase {
    const char* line;
    std::int32_t value;
    const char* label;
};

class ChoiceParseTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoiceParseTest, SplitsAtFirstColon) {
    TableHarness h;
    ASSERT_EQ(h.load(section(0, std::string("name=A\ncmd=1\ncount=1\n0=") + GetParam().line + "\n")), 1)
        << GetParam().line;
    const MassCmdItem& item = h.table.entries()[0].items[0];
    EXPECT_EQ(item.value, GetParam().value) << GetParam().line;
    EXPECT_EQ(item.label, GetParam().label) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ChoiceParseTest,
    ::testing::Values(ChoiceCase{"0x10:Sixteen ; remark", 16, "Sixteen"},
                      ChoiceCase{"2:A;B ; remark", 2, "A;B"}, ChoiceCase{"2:A;B", 2, "A"},
                      ChoiceCase{"3:  Wide", 3, "  Wide"}, ChoiceCase{"1:12:00", 1, "12:00"},
                      ChoiceCase{"-1:None", -1, "None"}, ChoiceCase{"0xFFFFFFFF:All", -1, "All"},
                      ChoiceCase{"abc:Zero", 0, "Zero"}, ChoiceCase{"0x1G:One", 1, "One"},
                      ChoiceCase{"7 :Seven", 7, "Seven"}, ChoiceCase{"\"5:Quoted\"", 5, "Quoted"},
                      ChoiceCase{"#105:#140", 0, "#140"}),
    testing::caseNames(&ChoiceCase::line));

struct LoadErrorCase {
    const char* name;
    std::string file;
    const char* text; // the one box's text
};

class LoadErrorTest : public ::testing::TestWithParam<LoadErrorCase> {};

TEST_P(LoadErrorTest, ReportsOnceAndLeavesTableEmpty) {
    const LoadErrorCase& c = GetParam();
    TableHarness h;
    EXPECT_EQ(h.load(c.file), 0);
    EXPECT_EQ(h.table.entry_count(), 0);
    EXPECT_TRUE(h.table.entries().empty());
    ASSERT_EQ(h.boxes.count(), 1u);
    EXPECT_EQ(h.boxTexts()[0], c.text);
    const i18n::BoxRequest& box = h.boxes.last();
    EXPECT_TRUE(box.title.empty());
    EXPECT_EQ(box.icon, i18n::BoxIcon::Error);
    EXPECT_EQ(box.buttons, i18n::BoxButtons::Ok);
}

std::string validSections(int count) {
    std::string file;
    for (int i = 0; i < count; ++i)
        file += section(i, "name=N\ncmd=" + std::to_string(i) + "\nrange=0-1\n");
    return file;
}

std::string choices(int count) {
    std::string lines;
    for (int j = 0; j < count; ++j)
        lines += std::to_string(j) + "=" + std::to_string(j) + ":L\n";
    return lines;
}

const LoadErrorCase kLoadErrors[] = {
    {"NoCmd", section(0, "name=A\n"), "Section [Mass_Cmd_00] does not have \"cmd\" key value"},
    {"CmdOnlyRemark", section(0, "name=A\ncmd= ; none\n"),
     "Section [Mass_Cmd_00] does not have \"cmd\" key value"},
    {"NoColon", section(0, "name=A\ncmd=1\ncount=1\n0=abc\n"),
     "Section [Mass_Cmd_00] has incorrect \"0\" key value"},
    {"NothingAfterColon", section(0, "name=A\ncmd=1\ncount=1\n0=1:\n"),
     "Section [Mass_Cmd_00] has incorrect \"0\" key value"},
    {"OnlyBlanksAfterColon", section(0, "name=A\ncmd=1\ncount=1\n0=1:   ; remark\n"),
     "Section [Mass_Cmd_00] has incorrect \"0\" key value"},
    {"EmptyValueText", section(0, "name=A\ncmd=1\ncount=1\n0=:Label\n"),
     "Section [Mass_Cmd_00] has incorrect \"0\" key value"},
    {"SecondChoiceMissing", section(0, "name=A\ncmd=1\ncount=2\n0=0:Off\n"),
     "Section [Mass_Cmd_00] does not have \"1\" key value"},
    {"ChoiceOnlyRemark", section(0, "name=A\ncmd=1\ncount=1\n0=;0:Off\n"),
     "Section [Mass_Cmd_00] does not have \"0\" key value"},
    {"RangedWithoutRange", section(0, "name=A\ncmd=1\n"),
     "Section [Mass_Cmd_00] does not have \"range\" key value"},
    {"ZeroCountWithoutRange", section(0, "name=A\ncmd=1\ncount=0\n0=1:x\n"),
     "Section [Mass_Cmd_00] does not have \"range\" key value"},
    {"NegativeCountWithoutRange", section(0, "name=A\ncmd=1\ncount=-2\n"),
     "Section [Mass_Cmd_00] does not have \"range\" key value"},
    {"TextCountWithoutRange", section(0, "name=A\ncmd=1\ncount=abc\n"),
     "Section [Mass_Cmd_00] does not have \"range\" key value"},
    {"RangeOneNumber", section(0, "name=A\ncmd=1\nrange=5\n"),
     "Section [Mass_Cmd_00] has incorrect \"range\" key value"},
    {"RangeLetters", section(0, "name=A\ncmd=1\nrange=a-b\n"),
     "Section [Mass_Cmd_00] has incorrect \"range\" key value"},
    {"RangeBlankBeforeDash", section(0, "name=A\ncmd=1\nrange=1 - 5\n"),
     "Section [Mass_Cmd_00] has incorrect \"range\" key value"},
    {"EleventhSectionNamedInUpperCaseHex", validSections(10) + section(10, "name=K\n"),
     "Section [Mass_Cmd_0A] does not have \"cmd\" key value"},
    // Limits: one past each is rejected.
    {"NameTooLong", section(0, "name=" + std::string(64, 'n') + "\ncmd=1\nrange=0-1\n"),
     "Section [Mass_Cmd_00] has too long \"name\" key value"},
    {"LabelTooLong", section(0, "name=A\ncmd=1\ncount=2\n0=0:x\n1=1:" + std::string(116, 'l') + "\n"),
     "Section [Mass_Cmd_00] has too long \"1\" key value"},
    {"ValueTextTooLong", section(0, "name=A\ncmd=1\ncount=1\n0=" + std::string(32, '1') + ":x\n"),
     "Section [Mass_Cmd_00] has too long \"0\" key value"},
    {"TooManyChoices", section(0, "name=A\ncmd=1\ncount=101\n" + choices(101)),
     "Section [Mass_Cmd_00] has too many choices in \"count\" key value (at most 100)"},
    {"HugeCount", section(0, "name=A\ncmd=1\ncount=99999999999999\n"),
     "Section [Mass_Cmd_00] has too many choices in \"count\" key value (at most 100)"},
    {"TooManySections", validSections(257),
     "Section [Mass_Cmd_100] is one section too many (at most 256 sections)"},
};

INSTANTIATE_TEST_SUITE_P(Files, LoadErrorTest, ::testing::ValuesIn(kLoadErrors), testing::namedCases());

struct LimitCase {
    const char* name;
    std::string file;
    int entries;
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, LoadsAtTheLimit) {
    TableHarness h;
    EXPECT_EQ(h.load(GetParam().file), 1) << (h.boxes.count() ? h.boxTexts()[0] : "");
    EXPECT_EQ(h.table.entry_count(), GetParam().entries);
}

const LimitCase kLimits[] = {
    {"Name63", section(0, "name=" + std::string(63, 'n') + "\ncmd=1\nrange=0-1\n"), 1},
    {"Label115", section(0, "name=A\ncmd=1\ncount=1\n0=0:" + std::string(115, 'l') + "\n"), 1},
    {"ValueText31", section(0, "name=A\ncmd=1\ncount=1\n0=" + std::string(31, '1') + ":x\n"), 1},
    {"Choices100", section(0, "name=A\ncmd=1\ncount=100\n" + choices(100)), 1},
    {"Sections256", validSections(256), 256},
    {"Sections256AndNamelessNext", validSections(256) + section(256, "cmd=5\n"), 256},
};

INSTANTIATE_TEST_SUITE_P(Files, LimitTest, ::testing::ValuesIn(kLimits), testing::namedCases());

TEST(MassCmdLoad, FirstSectionWithoutNameGivesEmptyTable) {
    TableHarness h;
    EXPECT_EQ(h.load("[APP]\nTitle=x\n" + section(0, "cmd=1\nrange=1-2\n") +
                     section(1, "name=B\ncmd=2\nrange=1-2\n")),
              1);
    EXPECT_EQ(h.table.entry_count(), 0);
    EXPECT_EQ(h.boxes.count(), 0u);
}

TEST(MassCmdLoad, MissingFileGivesEmptyTable) {
    TableHarness h;
    EXPECT_EQ(h.table.MassCmd_LoadTable("/nowhere/mass_cmd.ini"), 1);
    EXPECT_EQ(h.table.entry_count(), 0);
}

TEST(MassCmdLoad, GapOrRemarkOnlyNameEndsTable) {
    TableHarness h;
    EXPECT_EQ(h.load(section(0, "name=A\ncmd=1\nrange=1-2\n") + section(2, "name=C\ncmd=3\nrange=1-2\n")), 1);
    EXPECT_EQ(h.table.entry_count(), 1);
    EXPECT_EQ(h.load(section(0, "name=A\ncmd=1\nrange=1-2\n") + section(1, "name= ; x\ncmd=2\n")), 1);
    EXPECT_EQ(h.table.entry_count(), 1);
}

TEST(MassCmdLoad, CountAndRangeRules) {
    TableHarness h;
    ASSERT_EQ(h.load(section(0, "name=A\ncmd=0x1A\ncount=0\nrange=-5-5\n") +
                     section(1, "name=B\ncmd=0X1a\ncount=-3\nrange=0-9\n") +
                     section(2, "name=C\ncmd=26\ncount=2abc\n0=0:a\n1=1:b\n") +
                     section(3, "name=D\ncmd=abc\nrange=1-1\n")),
              1);
    const auto& e = h.table.entries();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].cmd_code, 26);
    EXPECT_EQ(e[0].range_min, -5);
    EXPECT_EQ(e[0].range_max, 5);
    EXPECT_EQ(e[1].cmd_code, 26);
    EXPECT_EQ(e[1].count, -3);
    EXPECT_TRUE(e[1].items.empty());
    EXPECT_EQ(e[2].cmd_code, 26);
    EXPECT_EQ(e[2].count, 2);
    EXPECT_EQ(e[3].cmd_code, 0);
}

TEST(MassCmdLoad, NamesIgnoreCase) {
    TableHarness h;
    ASSERT_EQ(
        h.load("[MASS_CMD_00]\nNAME=A\nCmd=7\nCOUNT=1\n0=1:x\n[mass_cmd_01]\nname=B\ncmd=8\nRANGE=1-3\n"), 1);
    EXPECT_EQ(h.table.entry_count(), 2);
    EXPECT_EQ(h.table.entries()[1].section, "Mass_Cmd_01");
}

TEST(MassCmdLoad, FailedReloadClearsEarlierTable) {
    TableHarness h;
    ASSERT_EQ(h.load(section(0, "name=A\ncmd=1\nrange=1-2\n")), 1);
    ASSERT_EQ(h.table.entry_count(), 1);
    EXPECT_EQ(h.load(section(0, "name=A\ncmd=1\nrange=1-2\n") + section(1, "name=B\n")), 0);
    EXPECT_EQ(h.table.entry_count(), 0);
    EXPECT_TRUE(h.table.entries().empty());
}

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(h.load(section(0, "name=A\ncmd=5\ncount=4\n0=0:Off\n1=1:On\n2=1:Again\n3=-1:None\n") +
                         section(1, "name=B\ncmd=5\ncount=1\n0=9:Later\n") +
                         section(2, "name=C\ncmd=0x38\nrange=1-10\n") +
                         section(3, "name=D\ncmd=6\ncount=1\n0=0xFFFFFFFF:All\n")),
                  1);
    }
    TableHarness h;
};

TEST_F(LookupTest, DuplicateCodeUsesEarlierEntry) {
    EXPECT_EQ(h.table.MassCmd_CmdIdToCmdIndex(5), 0);
    EXPECT_EQ(h.table.ValueToItemIndex(5, 9), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(5, 0), 0);
    EXPECT_EQ(h.boxes.count(), 0u);
}

TEST_F(LookupTest, DuplicateValueFindsFirstPosition) {
    EXPECT_EQ(h.table.ValueToItemIndex(5, 1), 1);
}

TEST_F(LookupTest, PositionsOutsideChoicesGiveMinusOneSilently) {
    EXPECT_EQ(h.table.ItemIndexToValue(5, -1), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(5, 4), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(5, 1000), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(0x38, 0), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(5, 2), 1);
    EXPECT_EQ(h.boxes.count(), 0u);
}

TEST_F(LookupTest, MinusOneValuesReadBackAsNoValue) {
    EXPECT_EQ(h.table.ItemIndexToValue(5, 3), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(6, 0), -1);
}

TEST_F(LookupTest, UnmatchedValueAndRangedEntryGiveMinusOneSilently) {
    EXPECT_EQ(h.table.ValueToItemIndex(5, 77), -1);
    EXPECT_EQ(h.table.ValueToItemIndex(0x38, 1), -1);
    EXPECT_EQ(h.boxes.count(), 0u);
}

TEST_F(LookupTest, MissingCodeIsReportedOnEveryCall) {
    EXPECT_EQ(h.table.MassCmd_CmdIdToCmdIndex(57), -1);
    EXPECT_EQ(h.table.ValueToItemIndex(57, 0), -1);
    EXPECT_EQ(h.table.ItemIndexToValue(-3, 0), -1);
    const std::vector<std::string> expected = {"MassCmd_CmdIdToCmdIndex(), cmd_code=57 can not found!",
                                               "MassCmd_CmdIdToCmdIndex(), cmd_code=57 can not found!",
                                               "MassCmd_CmdIdToCmdIndex(), cmd_code=-3 can not found!"};
    EXPECT_EQ(h.boxTexts(), expected);
    EXPECT_TRUE(h.boxes.last().title.empty());
    EXPECT_EQ(h.boxes.last().icon, i18n::BoxIcon::Error);
}

TEST(MassCmdLookup, SettingsToolReportsMessage282WithTheCode) {
    TableHarness h(ToolMode::Settings);
    h.reader.setFile("/opt/trelvik/msg.ini", "[String]\n011A=Code %d is missing\n0144=Oops\n0142=Fine\n");
    h.catalog.MessageFilePath = u"/opt/trelvik/msg.ini";
    ASSERT_EQ(h.load(section(0, "name=A\ncmd=5\nrange=1-2\n")), 1);
    EXPECT_EQ(h.table.ItemIndexToValue(57, 0), -1);
    EXPECT_EQ(h.table.MassCmd_CmdIdToCmdIndex(58), -1);
    ASSERT_EQ(h.boxes.count(), 2u);
    EXPECT_EQ(h.boxes.requests()[0].text, u"Code 57 is missing");
    EXPECT_EQ(h.boxes.requests()[1].text, u"Code 58 is missing");
    EXPECT_EQ(h.boxes.last().title, u"Oops");
    EXPECT_EQ(h.boxes.last().okCaption, u"Fine");
}

TEST(MassCmdLookup, SettingsToolWithoutMessageFileShowsFallback) {
    TableHarness h(ToolMode::Settings);
    h.load(section(0, "name=A\ncmd=5\nrange=1-2\n"));
    EXPECT_EQ(h.table.MassCmd_CmdIdToCmdIndex(1), -1);
    EXPECT_EQ(h.boxTexts(), std::vector<std::string>{"<n/a:011A>"});
}

TEST(MassCmdLookup, EmptyTableReportsEveryCode) {
    TableHarness h;
    EXPECT_EQ(h.table.ValueToItemIndex(0, 0), -1);
    EXPECT_EQ(h.boxes.count(), 1u);
}

} // namespace
} // namespace trelvik::cmdtable
