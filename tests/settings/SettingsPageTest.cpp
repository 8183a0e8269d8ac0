// SPDX-License-Identifier: MIT
// The settings tool's page and the clock's format lists as camera settings.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QSlider>

#include <functional>
#include <string>

#include "settings/ui/SettingDisplay.h"
#include "shell/CameraWindow.h"
#include "shell/ui/WindowActions.h"

namespace trelvik::settings {
namespace {

struct SettingsTool : testing::CameraWindow {
    shell::WindowActions actions{tool.form,
                                 {tool.table(), tool.state, tool.reporter, *tool.codec, connection, {}}};
    SettingsTool() : CameraWindow({"Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini"}) {}
    std::string word(int msgId) {
        return QString::fromStdU16String(tool.catalog.GetMsgText(msgId)).toStdString();
    }
    std::string label(const char* row) {
        return find<QLabel>(std::string("TntLabel_VAL_CFG_") + row)->text().toStdString();
    }
    int position(const char* row) { return find<QSlider>(std::string("TrackBar_CFG_") + row)->value(); }
};

TEST(SettingsPage, DurationsAndSecondsSpeakTheUsersUnitWords) {
    SettingsTool tool;
    tool.set({{0x68, 30}, {0x39, 0x85}, {0x42, 0x2C}, {0x43, 0x01}});
    tool.click({"Button_CFG_PHOTO_RECOVERY_INTERVAL_S_R", "Button_CFG_AVI_RECORD_TIME_S_R",
                "Button_CFG_HC_PIR_INTERVAL_S_R"});
    const std::string sec = tool.word(278), min = tool.word(277);
    EXPECT_EQ(tool.label("PHOTO_RECOVERY_INTERVAL_S") + " @" +
                  std::to_string(tool.position("PHOTO_RECOVERY_INTERVAL_S")),
              "30 " + sec + " @30");
    EXPECT_EQ(tool.label("AVI_RECORD_TIME_S") + " @" + std::to_string(tool.position("AVI_RECORD_TIME_S")),
              "5 " + min + " @64");
    EXPECT_EQ(tool.label("HC_PIR_INTERVAL_S") + " @" + std::to_string(tool.position("HC_PIR_INTERVAL_S")),
              "5 " + min + " @64");
    EXPECT_EQ(tool.click({"Button_CFG_AVI_RECORD_TIME_S_W"}), "W39=85");
}

TEST(SettingsPage, TheFormatListsAreCameraSettingsThatDriveTheClock) {
    const struct Case {
        const char* what;
        std::function<void(SettingsTool&)> setup;
        std::vector<std::string> clicks;
        std::string traffic, list, picker;
    } cases[] = {
        {"a read selects the camera's format and the picker follows",
         [](SettingsTool& t) {
             t.set({{0x32, 1}});
         },
         {"Button_Date_Format_S_R"},
         "R32",
         "on 1 FFFFFF/000000",
         "yyyy/MM/dd"},
        {"a failed read leaves the list red and empty, the picker day first",
         [](SettingsTool& t) {
             t.set({{0x32, 2}}), t.click({"Button_Date_Format_S_R"});
             t.set({}, [](auto& s) { s.faults.fail = {"QZGETDB"}; });
         },
         {"Button_Date_Format_S_R"},
         "R32!",
         "off -1 0000FF/FFFFFF",
         "dd/MM/yyyy"},
        {"a value no choice has: a save then sends nothing and refuses the list",
         [](SettingsTool& t) {
             t.set({{0x32, 7}});
         },
         {"Button_Date_Format_S_R", "Button_Date_Format_S_W"},
         "R32",
         "off -1 D8E9EC/FFFFFF",
         "dd/MM/yyyy"},
        {"a write sends the choice's value, whatever the item says, and leaves the picker",
         [](SettingsTool& t) { t.find<QComboBox>("TntComboBox_Date_Format")->setCurrentIndex(2); },
         {"Button_Date_Format_S_W"},
         "W32=02",
         "on 2 FFFFFF/000000",
         "dd/MM/yyyy"},
    };
    for (const Case& c : cases) {
        SettingsTool tool;
        c.setup(tool);
        tool.traffic();
        for (const std::string& button : c.clicks)
            tool.find<QPushButton>(button)->click();
        EXPECT_EQ(tool.traffic(), c.traffic) << c.what;
        auto* list = tool.find<QComboBox>("TntComboBox_Date_Format");
        EXPECT_EQ(QString::asprintf("%s %d %06X/%06X", list->isEnabled() ? "on" : "off", list->currentIndex(),
                                    listBackground(*list), listTextColour(*list))
                      .toStdString(),
                  c.list)
            << c.what;
        EXPECT_EQ(tool.find<QDateEdit>("DateTimePicker1")->displayFormat().toStdString(), c.picker) << c.what;
    }
}

} // namespace
} // namespace trelvik::settings
