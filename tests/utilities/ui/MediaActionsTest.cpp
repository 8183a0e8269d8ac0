// SPDX-License-Identifier: MIT
// Card Format, the medium list and its Format on the window against the simulated camera.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <regex>

#include "UtilityWindow.h"

namespace trelvik::utilities {
namespace {

using testing::MsgBox;
using testing::UtilityWindow;
constexpr int kYes = i18n::kAnswerYes;
constexpr int kNo = i18n::kAnswerNo;

// The full tool's boxes about a medium.
std::string ask(const std::string& name) {
    return "question [Format?] Are you sure to format the \"" + name + "\" medium? Yes/No\n";
}
std::string done(const std::string& name) {
    return "information [OK] The \"" + name + "\" medium is formated successfully! OK\n";
}
std::string failed(const std::string& name) {
    return "error [] The \"" + name + "\" medium is formated failed! OK\n";
}
std::string notNow(const std::string& name) {
    return "error [] The \"" + name + "\" medium can not be formated now! OK\n";
}
const std::string kCard = "Memory Card";

struct CardFormatCase {
    std::uint8_t slot0;
    const char* fault;        // a command whose transfer fails
    std::vector<int> answers; // none left: the box was closed
    std::string seen;         // traffic, then the full tool's boxes
    std::vector<MsgBox> settingsBoxes;
    bool connected = true;
};

TEST(CardFormat, TrafficAndBoxesPerToolMode) {
    const auto formatted = [](const char* name) { return ask(name) + done(name); };
    const auto msgs = [](const char* name, int text, int caption, unsigned flags) {
        return std::vector<MsgBox>{{290, 291, 0x24, name}, {text, caption, flags, name}};
    };
    const std::string sent = "QZGETCA 00 QZFMTCA 00\n";
    const CardFormatCase cases[] = {
        {0x04, "", {kYes}, sent + formatted("Memory Card"), msgs("Memory Card", 292, 293, 0x40)},
        {0x04, "", {}, "QZGETCA 00\n" + ask(kCard), {{290, 291, 0x24, "Memory Card"}}},
        {0x84, "", {kYes}, "QZGETCA 00\n" + notNow(kCard), {{289, 0, 0x10, "Memory Card"}}},
        {0x00, "", {kYes}, sent + formatted("No Card"), msgs("No Card", 292, 293, 0x40)},
        {0x09,
         "",
         {kYes},
         sent + formatted("Unknown medium type 9"),
         msgs("Unknown medium type 9", 292, 293, 0x40)},
        {0x04,
         "QZFMTCA",
         {kYes},
         "QZGETCA 00 QZFMTCA 00!\n" + ask(kCard) + failed(kCard),
         msgs(kCard.c_str(), 294, 0, 0x10)},
        {0x04, "QZGETCA", {kYes}, "QZGETCA 00!\nerror [] Fail to query card status! OK\n", {{283, 0, 0x10}}},
        {0x04, "", {kYes}, "\nerror [] Fail to query card status! OK\n", {{283, 0, 0x10}}, false},
    };
    for (const auto files : {testing::kFullTool, testing::kSettingsTool}) {
        UtilityWindow window(files);
        for (const CardFormatCase& c : cases) {
            window.set({}, [&](sim::CameraState& state) {
                state.media = {c.slot0, 0, 0, 0};
                state.faults.fail.clear();
                if (*c.fault) state.faults.fail.insert(c.fault);
            });
            window.setConnected(c.connected);
            window.answer(c.answers);
            const std::string traffic = c.seen.substr(0, c.seen.find('\n') + 1);
            EXPECT_EQ(window.clickAndSee({"TntButton_Card_Format"}),
                      window.settingsTool() ? traffic + window.expected(c.settingsBoxes) : c.seen);
        }
        // The hourglass shows while the format runs, and only then.
        EXPECT_EQ(std::regex_replace(window.handle.noted, std::regex("QZGETCA:- |QZFMTCA:wait "), ""), "");
    }
}

TEST(MediumList, RowsThenFormatBySlotThroughTheProbe) {
    UtilityWindow window;
    auto* list = window.find<QTreeWidget>("TntListViewMedium");
    const auto rows = [list] {
        std::string text;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            for (int column = 0; column < 4; ++column)
                text += list->topLevelItem(i)->text(column).toStdString() + (column < 3 ? "|" : "\n");
        return text;
    };
    const auto list_ = [&](std::array<std::uint8_t, 4> status) {
        window.set({}, [&](sim::CameraState& state) { state.media = status; });
        const std::string seen = window.clickAndSee({"TntButtonGetMediumInfo"});
        return seen + rows();
    };
    // A protected or missing card is listed; bits without a type are an empty slot.
    EXPECT_EQ(list_({0xC5, 0x0F, 0x40, 0x83}),
              "QZGETCA 00\n0|Second SD Card|Yes|No\n1|Unknown medium type 15|No|Yes\n3|SDRAM Disk|No|No\n");
    EXPECT_EQ(window.clickAndSee({"TntButtonFormatMedium"}),
              "\nerror [] Please select a medium to format! OK\n");
    list->topLevelItem(2)->setSelected(true);
    EXPECT_EQ(window.clickAndSee({"TntButtonFormatMedium"}), "\n" + notNow("SDRAM Disk"));

    EXPECT_EQ(list_({0x00, 0x02, 0x00, 0x00}), "QZGETCA 00\n1|Built-in NAND Flash|No|Yes\n");
    list->topLevelItem(0)->setSelected(true);
    window.answer({kNo, kYes});
    EXPECT_EQ(window.clickAndSee({"TntButtonFormatMedium", "TntButtonFormatMedium"}),
              "QZFMTCA 01\n" + ask("Built-in NAND Flash") + ask("Built-in NAND Flash") +
                  done("Built-in NAND Flash"));
    // The card was locked while the question was open: the camera answers with result 1.
    window.set({}, [](sim::CameraState& state) { state.media[1] = 0x42; });
    window.answer({kYes});
    EXPECT_EQ(window.clickAndSee({"TntButtonFormatMedium"}),
              "QZFMTCA 01\n" + ask("Built-in NAND Flash") + failed("Built-in NAND Flash"));
    window.camera.unplug();
    // A failed read empties the list silently and keeps the last good bytes for Format.
    EXPECT_EQ(list_({0x04, 0x00, 0x00, 0x00}), "QZGETCA 00!\n");
    EXPECT_EQ(window.media.CardStatus(), (CardStatusBytes{0x00, 0x02, 0x00, 0x00}));
    // The probe's formats ran under the hourglass, the reads without.
    EXPECT_EQ(window.handle.noted, "QZGETCA:- QZGETCA:- QZFMTCA:wait QZFMTCA:wait QZGETCA:- ");
}

} // namespace
} // namespace trelvik::utilities
