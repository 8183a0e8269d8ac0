// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/Native.h"
#include "settings/CommandBinding.h"
#include "support/RecordingBoxPresenter.h"

namespace trelvik::settings {
namespace {

// Writes down what the binding asks of the window, one line per request.
class RecordingTarget : public BindingTarget {
public:
    std::vector<std::string> calls;
    std::vector<std::vector<std::u16string>> entries; // the texts of every setEntries, in order

    void setLanguageListVisible(bool visible) override {
        calls.push_back(visible ? "show TntComboBox_Language" : "hide TntComboBox_Language");
    }
    // The format lists as laid out: three date formats, two time formats.
    int entryCount(std::string_view list) const override { return list == kDateFormatList ? 3 : 2; }
    void setEntries(std::string_view list, const std::vector<std::u16string>& texts) override {
        calls.push_back("entries " + std::string(list));
        entries.push_back(texts);
    }
    void setRange(std::string_view track, int minimum, int maximum) override {
        calls.push_back("range " + std::string(track) + " " + std::to_string(minimum) + "-" +
                        std::to_string(maximum));
    }
    void clearText(std::string_view edit) override { calls.push_back("clear " + std::string(edit)); }
};

struct Calls {
    std::vector<std::string> all;
    Calls& lists(std::initializer_list<const char*> names, const char* suffix = "") {
        for (const char* name : names)
            all.push_back(std::string("entries TntComboBox_CFG_") + name + suffix);
        return *this;
    }
    Calls& range(const char* name, const char* range) {
        all.push_back(std::string("range TrackBar_CFG_") + name + " " + range);
        return *this;
    }
    Calls& line(std::string text) {
        all.push_back(std::move(text));
        return *this;
    }
};

class BindingTest : public ::testing::Test {
protected:
    void bind(const char* file, cmdtable::ToolMode mode) {
        table = std::make_unique<cmdtable::MassCmdTable>(*reader, reporter, mode);
        ASSERT_EQ(table->MassCmd_LoadTable(std::string(TRELVIK_DATA_DIR "/") + file), 1);
        BindCommandTable({*table, catalog, *codec, mode}, target);
    }

    std::unique_ptr<platform::ProfileReader> reader = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    testing::RecordingBoxPresenter boxes;
    i18n::MessageCatalog catalog{*reader, *codec};
    i18n::Reporter reporter{boxes, catalog, *codec};
    std::unique_ptr<cmdtable::MassCmdTable> table;
    RecordingTarget target;
};

TEST_F(BindingTest, FullToolBindsEveryRegisterPageControlInOrderOfCode) {
    bind("mass_cmd.ini", cmdtable::ToolMode::Full);
    Calls expected;
    expected.line("hide TntComboBox_Language")
        .lists({"DEBUG_SETTING",
                "RESOLUTION_MODE",
                "AVI_RESOLUTION",
                "POW_MODE",
                "BEEP_MODE",
                "TV_MODE",
                "LANGUAGE_MODE",
                "FREQ_MODE",
                "PANEL_BRIGHTNESS_MODE",
                "LCD_MODE",
                "PANEL_SELECT",
                "FLASH_MODE",
                "QUALITY_MODE",
                "CAPTURE_MODE",
                "WB_MODE",
                "EV_MODE",
                "DATE_STAMP_MODE",
                "CONTINUOUS_MODE",
                "FD_MODE",
                "SCENE_MODE",
                "ISO_MODE",
                "SHARP_MODE",
                "AVI_AUDIO_MODE",
                "AVI_FRAME_MODE",
                "AVI_DATE_STAMP_MODE",
                "AUDIO_TYPE",
                "AUDIO_SAMPLE_MODE",
                "ANTI_SHAKE",
                "SATURATION_MODE",
                "PAPER_SIZE_INDEX",
                "PRINT_DATE_STAMP_MODE",
                "SYS_MODE",
                "FUN_MODE",
                "USB_MODE",
                "AVI_PLB_SHOW_MODE"})
        .range("AUDIO_PLB_VOLUME", "0-8")
        .lists({"LONG_EXPOSURE_MODE", "MACRO_MODE", "COLOR_MODE", "METERING_MODE", "SMILE", "MOTION_KEY",
                "INTERNAL_RAM_QUALITY_MODE", "INTERNAL_RAM_RESOLUTION_MODE", "AF_MODE", "WDR_MODE",
                "TIME_FORMAT", "DATE_FORMAT", "TIMELAPSE_VIDEO_RESOLUTION", "TIMELAPSE_ENABLE"})
        .range("HC_DOWN_COUNT", "0-65535") // the file says 0-255
        .range("CONTINUOUS_CAPTURE_COUNT", "1-10")
        .range("AVI_RECORD_TIME", "5-69")
        .lists({"IR_BRIGHTNESS", "BATTERY_WARNING", "PIR_CENTER_ENABLE", "PIR_SIDE_ENABLE", "PIR_SENSITIVITY",
                "TIMELAPSEAVI_MODE", "ENDLESS_CAPTURE_MODE", "MONITORON_MODE"})
        .range("HC_PIR_INTERVAL", "5-119")
        .lists({"TIMER1_ENABLE"})
        .range("TIMER1_START_HOUR", "0-23")
        .range("TIMER1_START_MINUTE", "0-59")
        .range("TIMER1_STOP_HOUR", "0-23")
        .range("TIMER1_STOP_MINUTE", "0-59")
        .lists({"TIMER2_ENABLE"})
        .range("TIMER2_START_HOUR", "0-23")
        .range("TIMER2_START_MINUTE", "0-59")
        .range("TIMER2_STOP_HOUR", "0-23")
        .range("TIMER2_STOP_MINUTE", "0-59")
        .lists({"PASSWORD_ENABLE"})
        .line("clear Edit_CFG_PASSWORD")
        .lists({"SERIAL_NUMBER_ENABLE"})
        .line("clear Edit_CFG_SERIAL_NUMBER")
        .lists({"COORDINATE_ENABLE"})
        .range("LATITUDE", "0-1")
        .range("LATITUDE_DEGREE", "0-90")
        .range("LATITUDE_MINUTE", "0-59")
        .range("LATITUDE_SECOND", "0-59")
        .range("LONGITUDE", "0-1")
        .range("LONGITUDE_DEGREE", "0-180")
        .range("LONGITUDE_MINUTE", "0-59")
        .range("LONGITUDE_SECOND", "0-59")
        .lists({"AVI_OVERLAPPED_BLOCKS"})
        .range("PHOTO_RECOVERY_INTERVAL", "0-60");
    EXPECT_EQ(target.calls, expected.all);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(target.entries.at(1), (std::vector<std::u16string>{u"2M 1600x1200", u"5M 2560x1920",
                                                                 u"8M 3264x2448", u"12M 4000x3000"}));
}

TEST_F(BindingTest, SettingsToolWordsTheFormatListsThenBindsItsPageFromTheTop) {
    catalog.MessageFilePath = codec->toWide(TRELVIK_DATA_DIR "/Camera_Setting_UNICODE_msg.ini");
    bind("Camera_Setting.ini", cmdtable::ToolMode::Settings);
    Calls expected;
    expected.line("show TntComboBox_Language")
        .line("entries TntComboBox_Date_Format")
        .line("entries TntComboBox_Time_Format")
        .lists({"MONITORON_MODE"}, "_S")
        .range("CONTINUOUS_CAPTURE_COUNT_S", "1-10")
        .range("PHOTO_RECOVERY_INTERVAL_S", "0-60")
        .range("AVI_RECORD_TIME_S", "5-69")
        .range("HC_PIR_INTERVAL_S", "5-119")
        .lists({"ENDLESS_CAPTURE_MODE", "PRINT_DATE_STAMP_MODE"}, "_S")
        .range("TIMER1_START_HOUR_S", "0-23")
        .range("TIMER1_START_MINUTE_S", "0-59")
        .range("TIMER1_STOP_HOUR_S", "0-23")
        .range("TIMER1_STOP_MINUTE_S", "0-59");
    EXPECT_EQ(target.calls, expected.all);
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(target.entries.size(), 5u);
    EXPECT_EQ(target.entries[0], (std::vector<std::u16string>{u"DD/MM/YYYY", u"YYYY/MM/DD", u"MM/DD/YYYY"}));
    EXPECT_EQ(target.entries[1], (std::vector<std::u16string>{u"24 hours", u"12 hours"}));
    // The labels stay as written; the captions of the settings page resolve them later.
    EXPECT_EQ(target.entries[2], (std::vector<std::u16string>{u"#210", u"#211", u"#212", u"#213"}));
}

} // namespace
} // namespace trelvik::settings
