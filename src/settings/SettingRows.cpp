// SPDX-License-Identifier: MIT
#include "settings/SettingRows.h"

namespace trelvik::settings {

namespace {

// Rows of the full tool in order of code, which is also the order their controls are bound
// in; registers 0x24 to 0x26 have no control. Positions: two columns of rows in the DSC/DV
// page's big group, one column in each captioned group, 24 pixels apart.
constexpr SettingRow kRows[] = {
    {0x00, 1, "DEBUG_SETTING", "", SettingKind::List, Page::DateTime, "TntGroupBox_DEBUG", 16, 32,
     kNoCaption | kButtonsShown | kAlwaysWrites},
    {0x01, 1, "RESOLUTION_MODE", "RESOLUTION_MODE (0x01)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8,
     16, 0},
    {0x02, 1, "AVI_RESOLUTION", "AVI_RESOLUTION (0x02)", SettingKind::List, Page::DscDv, "GroupBox5", 8, 20,
     0},
    {0x03, 1, "POW_MODE", "POW_MODE (0x03)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 40, 0},
    {0x04, 1, "BEEP_MODE", "BEEP_MODE (0x04)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 64, 0},
    {0x05, 1, "TV_MODE", "TV_MODE (0x05)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 88, 0},
    {0x06, 1, "LANGUAGE_MODE", "LANGUAGE_MODE (0x06)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8,
     112, 0},
    {0x07, 1, "FREQ_MODE", "FREQ_MODE (0x07)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 136, 0},
    {0x08, 1, "PANEL_BRIGHTNESS_MODE", "PANEL_BRIGHTNESS_MODE (0x08)", SettingKind::List, Page::DscDv,
     "TntGroupBox3A", 8, 160, 0},
    {0x09, 1, "LCD_MODE", "LCD_MODE (0x09)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 184, 0},
    {0x0A, 1, "PANEL_SELECT", "PANEL_SELECT (0x0A)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 208,
     0},
    {0x0B, 1, "FLASH_MODE", "FLASH_MODE (0x0B)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 232, 0},
    {0x0C, 1, "QUALITY_MODE", "QUALITY_MODE (0x0C)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 256,
     0},
    {0x0D, 1, "CAPTURE_MODE", "CAPTURE_MODE (0x0D)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 280,
     0},
    {0x0E, 1, "WB_MODE", "WB_MODE (0x0E)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 304, 0},
    {0x0F, 1, "EV_MODE", "EV_MODE (0x0F)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 328, 0},
    {0x10, 1, "DATE_STAMP_MODE", "DATE_STAMP_MODE (0x10)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8,
     352, 0},
    {0x11, 1, "CONTINUOUS_MODE", "CONTINUOUS_MODE (0x11)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8,
     376, 0},
    {0x12, 1, "FD_MODE", "FD_MODE (0x12)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 400, 0},
    {0x13, 1, "SCENE_MODE", "SCENE_MODE (0x13)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 424, 0},
    {0x14, 1, "ISO_MODE", "ISO_MODE (0x14)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 448, 0},
    {0x15, 1, "SHARP_MODE", "SHARP_MODE (0x15)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 472, 0},
    {0x16, 1, "AVI_AUDIO_MODE", "AVI_AUDIO_MODE (0x16)", SettingKind::List, Page::DscDv, "GroupBox5", 8, 44,
     0},
    {0x17, 1, "AVI_FRAME_MODE", "AVI_FRAME_MODE (0x17)", SettingKind::List, Page::DscDv, "GroupBox5", 8, 68,
     0},
    {0x18, 1, "AVI_DATE_STAMP_MODE", "AVI_DATE_STAMP_MODE (0x18)", SettingKind::List, Page::DscDv,
     "GroupBox5", 8, 92, 0},
    {0x19, 1, "AUDIO_TYPE", "AUDIO_TYPE (0x19)", SettingKind::List, Page::DscDv, "GroupBox5", 8, 140, 0},
    {0x1A, 1, "AUDIO_SAMPLE_MODE", "AUDIO_SAMPLE_MODE (0x1A)", SettingKind::List, Page::DscDv, "GroupBox5", 8,
     164, 0},
    {0x1B, 1, "ANTI_SHAKE", "ANTI_SHAKE (0x1B)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 496, 0},
    {0x1C, 1, "SATURATION_MODE", "SATURATION_MODE (0x1C)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8,
     520, 0},
    {0x1D, 1, "PAPER_SIZE_INDEX", "PAPER_SIZE_INDEX (0x1D)", SettingKind::List, Page::DscDv, "GroupBox7", 8,
     20, 0},
    {0x1E, 1, "PRINT_DATE_STAMP_MODE", "PRINT_DATE_STAMP_MODE (0x1E)", SettingKind::List, Page::DscDv,
     "GroupBox7", 8, 44, 0, "TntComboBox_CFG_PRINT_DATE_STAMP_MODE_S"},
    {0x1F, 1, "SYS_MODE", "SYS_MODE (0x1F)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 544, 0},
    {0x20, 1, "FUN_MODE", "FUN_MODE (0x20)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 568, 0},
    {0x21, 1, "USB_MODE", "USB_MODE (0x21)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 8, 592, 0},
    {0x22, 1, "AVI_PLB_SHOW_MODE", "AVI_PLB_SHOW_MODE (0x22)", SettingKind::List, Page::DscDv,
     "TntGroupBox3A", 8, 616, 0},
    {0x23, 1, "AUDIO_PLB_VOLUME", "AUDIO_PLB_VOLUME (0x23)", SettingKind::Number, Page::DscDv,
     "TntGroupBox3A", 464, 16, 0},
    {0x27, 1, "LONG_EXPOSURE_MODE", "LONG_EXPOSURE_MODE (0x27)", SettingKind::List, Page::DscDv,
     "TntGroupBox3A", 464, 40, 0},
    {0x28, 1, "MACRO_MODE", "MACRO_MODE (0x28)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 64, 0},
    {0x29, 1, "COLOR_MODE", "COLOR_MODE (0x29)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 88, 0},
    {0x2A, 1, "METERING_MODE", "METERING_MODE(0x2A)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464,
     112, 0},
    {0x2B, 1, "SMILE", "SMILE (0x2B)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 136, 0},
    {0x2C, 1, "MOTION_KEY", "MOTION_KEY (0x2C)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 160,
     0},
    {0x2D, 1, "INTERNAL_RAM_QUALITY_MODE", "INTERNAL_RAM_QUALITY_MODE (0x2D)", SettingKind::List, Page::DscDv,
     "TntGroupBox3A", 464, 184, 0},
    {0x2E, 1, "INTERNAL_RAM_RESOLUTION_MODE", "INTERNAL_RAM_RESOLUTION_MODE (0x2E)", SettingKind::List,
     Page::DscDv, "TntGroupBox3A", 464, 208, 0},
    {0x2F, 1, "AF_MODE", "AF_MODE (0x2F)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 232, 0},
    {0x30, 1, "WDR_MODE", "WDR_MODE (0x30)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 256, 0},
    {0x31, 1, "TIME_FORMAT", "TIME_FORMAT (0x31)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 280,
     0, "TntComboBox_Time_Format"},
    {0x32, 1, "DATE_FORMAT", "DATE_FORMAT (0x32)", SettingKind::List, Page::DscDv, "TntGroupBox3A", 464, 304,
     0, "TntComboBox_Date_Format"},
    {0x33, 1, "TIMELAPSE_VIDEO_RESOLUTION", "TIMELAPSE_VIDEO_RESOLUTION (0x33)", SettingKind::List,
     Page::HunterCam, "GroupBox10", 8, 20, 0},
    {0x34, 1, "TIMELAPSE_ENABLE", "TIMELAPSE_ENABLE (0x34)", SettingKind::List, Page::HunterCam, "GroupBox10",
     8, 44, 0},
    {0x35, 3, "HC_DOWN_COUNT", "TIMELAPSE_DOWN_COUNT (0x35-0x37)", SettingKind::MultiNumber, Page::HunterCam,
     "GroupBox10", 8, 92, kOwnRange},
    {0x38, 1, "CONTINUOUS_CAPTURE_COUNT", "CONTINUOUS_CAPTURE_COUNT (0x38)", SettingKind::Number,
     Page::HunterCam, "GroupBox8", 16, 64, 0, "TrackBar_CFG_CONTINUOUS_CAPTURE_COUNT_S"},
    {0x39, 1, "AVI_RECORD_TIME", "AVI_RECORD_TIME (0x39)", SettingKind::Duration, Page::HunterCam,
     "GroupBox8", 16, 88, 0, "TrackBar_CFG_AVI_RECORD_TIME_S"},
    {0x3A, 1, "IR_BRIGHTNESS", "IR_BRIGHTNESS (0x3A)", SettingKind::List, Page::HunterCam, "GroupBox8", 16,
     112, 0},
    {0x3B, 1, "BATTERY_WARNING", "BATTERY_WARNING (0x3B)", SettingKind::List, Page::HunterCam, "GroupBox8",
     16, 136, 0},
    {0x3C, 1, "PIR_CENTER_ENABLE", "PIR_CENTER_ENABLE (0x3C)", SettingKind::List, Page::HunterCam,
     "GroupBox9", 8, 20, 0},
    {0x3D, 1, "PIR_SIDE_ENABLE", "PIR_SIDE_ENABLE (0x3D)", SettingKind::List, Page::HunterCam, "GroupBox9", 8,
     44, 0},
    {0x3E, 1, "PIR_SENSITIVITY", "PIR_SENSITIVITY (0x3E)", SettingKind::List, Page::HunterCam, "GroupBox9", 8,
     68, 0},
    {0x3F, 1, "TIMELAPSEAVI_MODE", "TIMELAPSE_VIDEO_MODE (0x3F)", SettingKind::List, Page::HunterCam,
     "GroupBox10", 8, 68, 0},
    {0x40, 1, "ENDLESS_CAPTURE_MODE", "ENDLESS_CAPTURE_MODE (0x40)", SettingKind::List, Page::HunterCam,
     "GroupBox8", 16, 40, 0, "TntComboBox_CFG_ENDLESS_CAPTURE_MODE_S"},
    {0x41, 1, "MONITORON_MODE", "MONITORON_MODE (0x41)", SettingKind::List, Page::HunterCam, "GroupBox8", 16,
     16, 0, "TntComboBox_CFG_MONITORON_MODE_S"},
    {0x42, 2, "HC_PIR_INTERVAL", "PIR_INTERVAL (0x42-0x43)", SettingKind::Duration, Page::HunterCam,
     "GroupBox9", 8, 92, 0, "TrackBar_CFG_HC_PIR_INTERVAL_S"},
    {0x44, 1, "TIMER1_ENABLE", "TIMER1_ENABLE (0x44)", SettingKind::List, Page::HunterCam, "GroupBox11", 8,
     20, 0},
    {0x45, 1, "TIMER1_START_HOUR", "TIMER1_START_HOUR (0x45)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 44, 0, "TrackBar_CFG_TIMER1_START_HOUR_S"},
    {0x46, 1, "TIMER1_START_MINUTE", "TIMER1_START_MINUTE (0x46)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 68, 0, "TrackBar_CFG_TIMER1_START_MINUTE_S"},
    {0x47, 1, "TIMER1_STOP_HOUR", "TIMER1_STOP_HOUR (0x47)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 92, 0, "TrackBar_CFG_TIMER1_STOP_HOUR_S"},
    {0x48, 1, "TIMER1_STOP_MINUTE", "TIMER1_STOP_MINUTE (0x48)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 116, 0, "TrackBar_CFG_TIMER1_STOP_MINUTE_S"},
    {0x49, 1, "TIMER2_ENABLE", "TIMER2_ENABLE (0x49)", SettingKind::List, Page::HunterCam, "GroupBox11", 8,
     140, 0},
    {0x4A, 1, "TIMER2_START_HOUR", "TIMER2_START_HOUR (0x4A)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 164, 0},
    {0x4B, 1, "TIMER2_START_MINUTE", "TIMER2_START_MINUTE (0x4B)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 188, 0},
    {0x4C, 1, "TIMER2_STOP_HOUR", "TIMER2_STOP_HOUR (0x4C)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 212, 0},
    {0x4D, 1, "TIMER2_STOP_MINUTE", "TIMER2_STOP_MINUTE (0x4D)", SettingKind::Number, Page::HunterCam,
     "GroupBox11", 8, 236, 0},
    {0x4E, 1, "PASSWORD_ENABLE", "PASSWORD_ENABLE (0x4E)", SettingKind::List, Page::HunterCam, "GroupBox12",
     8, 20, 0},
    {0x4F, 4, "PASSWORD", "PASSWORD (0x4F-0x52)", SettingKind::Text, Page::HunterCam, "GroupBox12", 8, 44, 0},
    {0x53, 1, "SERIAL_NUMBER_ENABLE", "SERIAL_NUMBER_ENABLE (0x53)", SettingKind::List, Page::HunterCam,
     "GroupBox13", 8, 20, 0},
    {0x54, 10, "SERIAL_NUMBER", "SERIAL_NUMBER (0x54-0x5D)", SettingKind::Text, Page::HunterCam, "GroupBox13",
     8, 44, 0},
    {0x5E, 1, "COORDINATE_ENABLE", "COORDINATE_ENABLE (0x5E)", SettingKind::List, Page::HunterCam,
     "GroupBox14", 8, 20, 0},
    {0x5F, 1, "LATITUDE", "LATITUDE (0x5F)", SettingKind::Number, Page::HunterCam, "GroupBox14", 8, 44, 0},
    {0x60, 1, "LATITUDE_DEGREE", "LATITUDE_DEGREE (0x60)", SettingKind::Number, Page::HunterCam, "GroupBox14",
     8, 68, 0},
    {0x61, 1, "LATITUDE_MINUTE", "LATITUDE_MINUTE (0x61)", SettingKind::Number, Page::HunterCam, "GroupBox14",
     8, 92, 0},
    {0x62, 1, "LATITUDE_SECOND", "LATITUDE_SECOND (0x62)", SettingKind::Number, Page::HunterCam, "GroupBox14",
     8, 116, 0},
    {0x63, 1, "LONGITUDE", "LONGITUDE (0x63)", SettingKind::Number, Page::HunterCam, "GroupBox14", 8, 140, 0},
    {0x64, 1, "LONGITUDE_DEGREE", "LONGITUDE_DEGREE (0x64)", SettingKind::Number, Page::HunterCam,
     "GroupBox14", 8, 164, 0},
    {0x65, 1, "LONGITUDE_MINUTE", "LONGITUDE_MINUTE (0x65)", SettingKind::Number, Page::HunterCam,
     "GroupBox14", 8, 188, 0},
    {0x66, 1, "LONGITUDE_SECOND", "LONGITUDE_SECOND (0x66)", SettingKind::Number, Page::HunterCam,
     "GroupBox14", 8, 212, 0},
    {0x67, 1, "AVI_OVERLAPPED_BLOCKS", "AVI_OVERLAPPED_BLOCKS (0x67)", SettingKind::List, Page::DscDv,
     "GroupBox5", 8, 116, 0},
    {0x68, 1, "PHOTO_RECOVERY_INTERVAL", "PHOTO_RECOVERY_INTERVAL (0x68)", SettingKind::Number,
     Page::HunterCam, "GroupBox8", 16, 160, 0, "TrackBar_CFG_PHOTO_RECOVERY_INTERVAL_S"},
    // The Settings page, from top to bottom.
    {0x41, 1, "MONITORON_MODE", "CFG_MONITORON_MODE (0x41)", SettingKind::List, Page::Settings,
     "TabSheet_Settings", 16, 8, 0},
    {0x38, 1, "CONTINUOUS_CAPTURE_COUNT", "CFG_CONTINUOUS_CAPTURE_COUNT", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 32, 0},
    {0x68, 1, "PHOTO_RECOVERY_INTERVAL", "CFG_PHOTO_RECOVERY_INTERVAL", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 56, kSecondsUnit},
    {0x39, 1, "AVI_RECORD_TIME", "CFG_AVI_RECORD_TIME", SettingKind::Duration, Page::Settings,
     "TabSheet_Settings", 16, 80, 0},
    {0x42, 2, "HC_PIR_INTERVAL", "CFG_HC_PIR_INTERVAL", SettingKind::Duration, Page::Settings,
     "TabSheet_Settings", 16, 104, 0},
    {0x40, 1, "ENDLESS_CAPTURE_MODE", "CFG_ENDLESS_CAPTURE_MODE", SettingKind::List, Page::Settings,
     "TabSheet_Settings", 16, 128, 0},
    {0x1E, 1, "PRINT_DATE_STAMP_MODE", "CFG_PRINT_DATE_STAMP_MODE", SettingKind::List, Page::Settings,
     "TabSheet_Settings", 16, 152, 0},
    {0x45, 1, "TIMER1_START_HOUR", "TIMER1_START_HOUR (0x45)", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 176, 0},
    {0x46, 1, "TIMER1_START_MINUTE", "TIMER1_START_MINUTE (0x46)", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 200, 0},
    {0x47, 1, "TIMER1_STOP_HOUR", "TIMER1_STOP_HOUR (0x47)", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 224, 0},
    {0x48, 1, "TIMER1_STOP_MINUTE", "TIMER1_STOP_MINUTE (0x48)", SettingKind::Number, Page::Settings,
     "TabSheet_Settings", 16, 248, 0},
};

constexpr std::string_view kSettingsSuffix = "_S";

std::string controlName(std::string_view prefix, const SettingRow& row, std::string_view suffix = {}) {
    std::string name(prefix);
    name += row.name;
    if (row.page == Page::Settings) name += kSettingsSuffix;
    name += suffix;
    return name;
}

} // namespace

ValueControl valueControlOf(SettingKind kind) {
    switch (kind) {
    case SettingKind::List:
        return ValueControl::ComboBox;
    case SettingKind::Number:
    case SettingKind::Duration:
    case SettingKind::MultiNumber:
        return ValueControl::TrackBar;
    case SettingKind::Text:
        return ValueControl::Edit;
    }
    return ValueControl::ComboBox;
}

std::span<const SettingRow> settingRows() {
    return kRows;
}

const SettingRow* rowOfRegister(int code) {
    for (const SettingRow& row : kRows) {
        if (row.page == Page::Settings) break;
        if (code >= row.code && code < row.code + row.width) return &row;
    }
    return nullptr;
}

bool shownInSettingsTool(const SettingRow& row) {
    return row.page == Page::Settings;
}

std::string captionLabelName(const SettingRow& row) {
    return controlName("TntLabel_CFG_", row);
}

std::string valueControlName(const SettingRow& row) {
    switch (valueControlOf(row.kind)) {
    case ValueControl::ComboBox:
        return controlName("TntComboBox_CFG_", row);
    case ValueControl::TrackBar:
        return controlName("TrackBar_CFG_", row);
    case ValueControl::Edit:
        return controlName("Edit_CFG_", row);
    }
    return {};
}

std::string valueLabelName(const SettingRow& row) {
    return controlName("TntLabel_VAL_CFG_", row);
}
std::string readButtonName(const SettingRow& row) {
    return controlName("Button_CFG_", row, "_R");
}
std::string writeButtonName(const SettingRow& row) {
    return controlName("Button_CFG_", row, "_W");
}

} // namespace trelvik::settings
