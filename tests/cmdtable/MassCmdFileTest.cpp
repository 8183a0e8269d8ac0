// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cmdtable/MassCmd.h"
#include "platform/Native.h"
#include "support/RecordingBoxPresenter.h"

namespace trelvik::cmdtable {
namespace {

std::string fixture(const char* name) {
    return std::string(TRELVIK_FIXTURES) + "/cmdtable/" + name;
}

// The command file read from disk by the platform's own reader.
class CommandFileTest : public ::testing::Test {
protected:
    std::unique_ptr<platform::ProfileReader> reader = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    testing::RecordingBoxPresenter boxes;
    i18n::MessageCatalog catalog{*reader, *codec};
    i18n::Reporter reporter{boxes, catalog, *codec};
    MassCmdTable table{*reader, reporter, ToolMode::Full};
};

TEST_F(CommandFileTest, ExampleWithWindowsLineEnds) {
    ASSERT_EQ(table.MassCmd_LoadTable(fixture("example.ini")), 1);
    ASSERT_EQ(table.entry_count(), 2);
    EXPECT_EQ(table.entries()[0].items[1].label, "1280x960");
    EXPECT_EQ(table.ValueToItemIndex(1, 2), 2);
    EXPECT_EQ(table.ItemIndexToValue(56, 0), -1);
    EXPECT_EQ(table.entries()[1].range_max, 10);
    EXPECT_EQ(boxes.count(), 0u);
}

// Narrow text is the system's: UTF-8 on Linux, the ANSI code page on Windows. Read through
// the system's codec, the names are the same characters on both.
TEST_F(CommandFileTest, Windows1252FileReadsAsNarrowText) {
    ASSERT_EQ(table.MassCmd_LoadTable(fixture("cp1252_labels.ini")), 1);
    ASSERT_EQ(table.entry_count(), 1);
    EXPECT_EQ(codec->toWide(table.entries()[0].name), u"Gr\u00f6\u00dfe");
    EXPECT_EQ(codec->toWide(table.entries()[0].items[0].label), u"Klein \u2013 schnell");
    EXPECT_EQ(catalog.GetLabelText(table.entries()[0].items[1].label), u"Gro\u00df");
}

TEST_F(CommandFileTest, Utf16FileWithLowerCaseNames) {
    // The narrow call hands back what the ANSI code page holds; Chinese needs a Chinese one.
    if (codec->toWide(codec->toNarrow(u"\u89e3\u50cf\u5ea6\u4f4e")) != u"\u89e3\u50cf\u5ea6\u4f4e")
        GTEST_SKIP() << "the narrow text of this system cannot hold Chinese";
    ASSERT_EQ(table.MassCmd_LoadTable(fixture("utf16_table.ini")), 1);
    ASSERT_EQ(table.entry_count(), 1);
    EXPECT_EQ(catalog.GetLabelText(table.entries()[0].name), u"\u89e3\u50cf\u5ea6");
    EXPECT_EQ(catalog.GetLabelText(table.entries()[0].items[0].label), u"\"\u4f4e\"");
}

TEST_F(CommandFileTest, MissingChoiceIsReported) {
    EXPECT_EQ(table.MassCmd_LoadTable(fixture("missing_choice.ini")), 0);
    EXPECT_EQ(table.entry_count(), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, u"Section [Mass_Cmd_01] does not have \"1\" key value");
}

} // namespace
} // namespace trelvik::cmdtable
