// SPDX-License-Identifier: MIT
// Card Format, the medium list and its Format on the real window against the simulated camera:
// what each click sends (the camera's log), the boxes in each tool mode, and the hourglass.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <array>
#include <string>
#include <vector>

#include "UtilityWindow.h"

namespace trelvik::utilities {
namespace {

using testing::kFullTool;
using testing::kSettingsTool;
using testing::MsgBox;
using testing::UtilityWindow;

constexpr int kYes = i18n::kAnswerYes;
constexpr int kNo = i18n::kAnswerNo;

struct CardFormatCase {
    const char* name;
    std::uint8_t slot0; // the camera's status byte of slot 0
    const char* fault;  // a command whose transfer fails, or ""
    bool connected;
    std::vector<int> answers; // the user's answers; none left: the box was closed
    const char* traffic;
    const char* fullBoxes;             // the full tool's boxes, one line each
    std::vector<MsgBox> settingsBoxes; // the settings tool's, by message number
};

const std::vector<CardFormatCase> kCardFormatCases = {
    {"YesFormatsSlot0",
     0x04,
     "",
     true,
     {kYes},
     "QZGETCA 00 QZFMTCA 00",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n"
     "information [OK] The \"Memory Card\" medium is formated successfully! OK\n",
     {{290, 291, 0x24, "Memory Card"}, {292, 293, 0x40, "Memory Card"}}},
    {"NoSendsNothing",
     0x04,
     "",
     true,
     {kNo},
     "QZGETCA 00",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n",
     {{290, 291, 0x24, "Memory Card"}}},
    {"ClosedQuestionSendsNothing",
     0x04,
     "",
     true,
     {},
     "QZGETCA 00",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n",
     {{290, 291, 0x24, "Memory Card"}}},
    {"ProtectedCardIsNotAsked",
     0x44,
     "",
     true,
     {kYes},
     "QZGETCA 00",
     "error [] The \"Memory Card\" medium can not be formated now! OK\n",
     {{289, 0, 0x10, "Memory Card"}}},
    {"MissingCardIsNotAsked",
     0x84,
     "",
     true,
     {kYes},
     "QZGETCA 00",
     "error [] The \"Memory Card\" medium can not be formated now! OK\n",
     {{289, 0, 0x10, "Memory Card"}}},
    {"BitFourAloneRefuses",
     0x10,
     "",
     true,
     {kYes},
     "QZGETCA 00",
     "error [] The \"No Card\" medium can not be formated now! OK\n",
     {{289, 0, 0x10, "No Card"}}},
    {"EmptySlotIsAskedAbout",
     0x00,
     "",
     true,
     {kYes},
     "QZGETCA 00 QZFMTCA 00",
     "question [Format?] Are you sure to format the \"No Card\" medium? Yes/No\n"
     "information [OK] The \"No Card\" medium is formated successfully! OK\n",
     {{290, 291, 0x24, "No Card"}, {292, 293, 0x40, "No Card"}}},
    {"UnknownTypeGetsOurName",
     0x09,
     "",
     true,
     {kYes},
     "QZGETCA 00 QZFMTCA 00",
     "question [Format?] Are you sure to format the \"Unknown medium type 9\" medium? Yes/No\n"
     "information [OK] The \"Unknown medium type 9\" medium is formated successfully! OK\n",
     {{290, 291, 0x24, "Unknown medium type 9"}, {292, 293, 0x40, "Unknown medium type 9"}}},
    {"StatusReadFails",
     0x04,
     "QZGETCA",
     true,
     {kYes},
     "QZGETCA 00!",
     "error [] Fail to query card status! OK\n",
     {{283, 0, 0x10}}},
    {"FormatFails",
     0x04,
     "QZFMTCA",
     true,
     {kYes},
     "QZGETCA 00 QZFMTCA 00!",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n"
     "error [] The \"Memory Card\" medium is formated failed! OK\n",
     {{290, 291, 0x24, "Memory Card"}, {294, 0, 0x10, "Memory Card"}}},
    {"NotConnected",
     0x04,
     "",
     false,
     {kYes},
     "",
     "error [] Fail to query card status! OK\n",
     {{283, 0, 0x10}}},
};

void runCardFormat(UtilityWindow& window, const CardFormatCase& c) {
    window.set({}, [&](sim::CameraState& state) {
        state.media = {c.slot0, 0, 0, 0};
        state.faults.fail.clear();
        if (*c.fault) state.faults.fail.insert(c.fault);
    });
    window.connected = c.connected;
    window.answer(c.answers);
    const std::string expected = window.settingsTool() ? window.expected(c.settingsBoxes) : c.fullBoxes;
    EXPECT_EQ(window.clickAndSee({"TntButton_Card_Format"}), std::string(c.traffic) + "\n" + expected)
        << c.name;
}

TEST(CardFormat, BoxesAndTrafficInTheFullTool) {
    UtilityWindow window(kFullTool);
    ASSERT_TRUE(window.started);
    for (const CardFormatCase& c : kCardFormatCases)
        runCardFormat(window, c);
}

TEST(CardFormat, BoxesAndTrafficInTheSettingsTool) {
    UtilityWindow window(kSettingsTool);
    ASSERT_TRUE(window.started && window.settingsTool());
    for (const CardFormatCase& c : kCardFormatCases)
        runCardFormat(window, c);
}

// The medium list as one text: a line per row, columns separated by "|".
std::string listed(UtilityWindow& window) {
    std::string text;
    auto* list = window.find<QTreeWidget>("TntListViewMedium");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        for (int column = 0; column < 4; ++column)
            text += item->text(column).toStdString() + (column < 3 ? "|" : "\n");
    }
    return text;
}

TEST(MediumInformation, ARowForEverySlotThatNamesAMedium) {
    struct Case {
        std::array<std::uint8_t, 4> status;
        const char* rows;
    };
    const Case cases[] = {
        {{0x04, 0x00, 0x00, 0x00}, "0|Memory Card|No|Yes\n"},
        {{0x00, 0x02, 0x00, 0x00}, "1|Built-in NAND Flash|No|Yes\n"},
        // A protected or missing card is listed; bits without a type are an empty slot.
        {{0xC5, 0x0F, 0x40, 0x83},
         "0|Second SD Card|Yes|No\n1|Unknown medium type 15|No|Yes\n3|SDRAM Disk|No|No\n"},
        {{0x00, 0x00, 0x00, 0x00}, ""},
    };
    UtilityWindow window;
    for (const Case& c : cases) {
        window.set({}, [&](sim::CameraState& state) { state.media = c.status; });
        const std::string seen = window.clickAndSee({"TntButtonGetMediumInfo"});
        EXPECT_EQ(seen + listed(window), "QZGETCA 00\n" + std::string(c.rows));
        EXPECT_EQ(window.media.CardStatus(), c.status);
    }
    // A failed read empties the list without a word and keeps the bytes of the last good one.
    window.set({}, [](sim::CameraState& state) { state.faults.fail = {"QZGETCA"}; });
    const std::string seen = window.clickAndSee({"TntButtonGetMediumInfo"});
    EXPECT_EQ(seen + listed(window), "QZGETCA 00!\n");
    EXPECT_EQ(window.media.CardStatus(), cases[3].status);
}

struct FormatMediumCase {
    const char* name;
    std::array<std::uint8_t, 4> status; // listed before the click
    int row;                            // the row selected; -1 none
    std::uint8_t cameraSlot0Later;      // the camera's slot 0 by the time the format arrives
    bool unplugged;                     // the camera left before the format
    std::vector<int> answers;
    const char* traffic;
    const char* boxes;
};

// Plain English in both tool modes; the camera is found by probing its drives.
const FormatMediumCase kFormatMediumCases[] = {
    {"NoSelection",
     {0x04, 0, 0, 0},
     -1,
     0x04,
     false,
     {kYes},
     "",
     "error [] Please select a medium to format! OK\n"},
    {"SecondSlot",
     {0x00, 0x02, 0, 0},
     0,
     0x00,
     false,
     {kYes},
     "QZFMTCA 01",
     "question [Format?] Are you sure to format the \"Built-in NAND Flash\" medium? Yes/No\n"
     "information [OK] The \"Built-in NAND Flash\" medium is formated successfully! OK\n"},
    {"No",
     {0x00, 0x02, 0, 0},
     0,
     0x00,
     false,
     {kNo},
     "",
     "question [Format?] Are you sure to format the \"Built-in NAND Flash\" medium? Yes/No\n"},
    {"Protected",
     {0x04, 0x42, 0, 0},
     1,
     0x04,
     false,
     {kYes},
     "",
     "error [] The \"Built-in NAND Flash\" medium can not be formated now! OK\n"},
    // The card was locked while the question was open: the camera answers with result 1.
    {"CameraRefuses",
     {0x04, 0, 0, 0},
     0,
     0x44,
     false,
     {kYes},
     "QZFMTCA 00",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n"
     "error [] The \"Memory Card\" medium is formated failed! OK\n"},
    {"NoDriveAnswers",
     {0x04, 0, 0, 0},
     0,
     0x04,
     true,
     {kYes},
     "",
     "question [Format?] Are you sure to format the \"Memory Card\" medium? Yes/No\n"
     "error [] The \"Memory Card\" medium is formated failed! OK\n"},
};

TEST(FormatMedium, BoxesAndTrafficInBothTools) {
    for (const auto files : {kFullTool, kSettingsTool}) {
        for (const FormatMediumCase& c : kFormatMediumCases) {
            UtilityWindow window(files);
            window.set({}, [&](sim::CameraState& state) { state.media = c.status; });
            window.click({"TntButtonGetMediumInfo"});
            auto* list = window.find<QTreeWidget>("TntListViewMedium");
            if (c.row >= 0) list->topLevelItem(c.row)->setSelected(true);
            window.set({}, [&](sim::CameraState& state) { state.media[0] = c.cameraSlot0Later; });
            if (c.unplugged) window.camera.unplug();
            window.answer(c.answers);
            EXPECT_EQ(window.clickAndSee({"TntButtonFormatMedium"}), std::string(c.traffic) + "\n" + c.boxes)
                << c.name << (window.settingsTool() ? " (settings tool)" : " (full tool)");
        }
    }
}

// The hourglass shows while the format runs and at no other request, and is gone afterwards.
TEST(FormatHourglass, OnlyAroundTheFormat) {
    UtilityWindow window;
    window.tool.presenter.scriptAnswers({kYes});
    window.click({"TntButton_Card_Format"});
    EXPECT_EQ(window.cursors.take(), "QZGETCA:- QZFMTCA:wait");
    window.click({"TntButtonGetMediumInfo"});
    window.find<QTreeWidget>("TntListViewMedium")->topLevelItem(0)->setSelected(true);
    window.tool.presenter.scriptAnswers({kYes});
    window.click({"TntButtonFormatMedium"});
    EXPECT_EQ(window.cursors.take(), "QZGETCA:- QZFMTCA:wait");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace trelvik::utilities
