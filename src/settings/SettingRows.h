// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace trelvik::settings {

// How a setting keeps its value in the camera's one-byte registers.
enum class SettingKind {
    List,        // one register; its raw values are the command table's choices
    Number,      // one register holding a number within the command table's range
    Duration,    // seconds and minutes on one scale: width 1, a byte whose bit 7 says minutes;
                 // width 2, a number of seconds, low byte first
    MultiNumber, // one number spread over `width` registers, low byte first
    Text,        // one character per register, `width` characters at most
};

// The control that shows a setting's value.
enum class ValueControl {
    ComboBox, // a choose-only drop-down list: TntComboBox_CFG_<name>
    TrackBar, // a track bar with a value label: TrackBar_CFG_<name>, TntLabel_VAL_CFG_<name>
    Edit,     // a single-line edit field: Edit_CFG_<name>
};
ValueControl valueControlOf(SettingKind kind);

// The window's pages, in the order of their tabs.
enum class Page { DateTime, DscDv, HunterCam, Settings };

// Row options beyond the naming rule.
enum RowFlag : unsigned {
    kNoCaption = 1u << 0,    // no caption label: the group box names the setting
    kButtonsShown = 1u << 1, // the R and W buttons are visible (the debug setting's console)
    kAlwaysWrites = 1u << 2, // W writes even while the list is disabled (the factory reset must get through)
    kOwnRange = 1u << 3,     // the track bar's range is the tool's own, whatever the command file says
    kSecondsUnit = 1u << 4,  // the value label names its unit: a number of seconds
};

// One row of setting controls: a caption label, the value control and the R and W buttons.
// A register shown on two pages has two rows; the Settings page's copy carries "_S" after
// the name in every control name.
struct SettingRow {
    int code;                 // first register. Example: 0x42
    int width;                // registers the value spans. Example: 2 for HC_PIR_INTERVAL
    std::string_view name;    // register name the controls carry. Example: "HC_PIR_INTERVAL"
    std::string_view caption; // caption label text. Example: "PIR_INTERVAL (0x42-0x43)"
    SettingKind kind;
    Page page;
    std::string_view group; // objectName of the group box (or page) holding the row. Example: "GroupBox9"
    int x, y;               // top left of the row inside that group, in pixels. Example: {8, 92}
    unsigned flags = 0;     // RowFlag bits
    // The other control showing the same register, on the Settings or the Date/Time page;
    // "" when there is none. Example: "TrackBar_CFG_HC_PIR_INTERVAL_S"
    std::string_view secondControl = {};
};

// Every setting row of the window: the full tool's pages in order of code, then the Settings
// page from top to bottom. Example: settingRows()[0].name == "DEBUG_SETTING".
std::span<const SettingRow> settingRows();

// The full tool's row whose registers include `code`; null for a code no control shows
// (0x24 to 0x26, above 0x68). Example: rowOfRegister(0x36)->name == "HC_DOWN_COUNT".
const SettingRow* rowOfRegister(int code);

// The rows the full tool (mass_cmd.ini) or the settings tool (Camera_Setting.ini) shows.
bool shownInSettingsTool(const SettingRow& row);

// Control names by the naming rule. Example for HC_PIR_INTERVAL on the Settings page:
// "TntLabel_CFG_HC_PIR_INTERVAL_S", "TrackBar_CFG_HC_PIR_INTERVAL_S",
// "TntLabel_VAL_CFG_HC_PIR_INTERVAL_S", "Button_CFG_HC_PIR_INTERVAL_S_R".
std::string captionLabelName(const SettingRow& row);
std::string valueControlName(const SettingRow& row);
std::string valueLabelName(const SettingRow& row); // track bars only
std::string readButtonName(const SettingRow& row);
std::string writeButtonName(const SettingRow& row);

// The clock's two format lists on the Date/Time page are camera settings too: list settings
// with fixed names of their own.
struct FormatList {
    int code;
    std::string_view list, readButton, writeButton;
};
inline constexpr FormatList kFormatLists[] = {
    {0x32, "TntComboBox_Date_Format", "Button_Date_Format_S_R", "Button_Date_Format_S_W"},
    {0x31, "TntComboBox_Time_Format", "Button_Time_Format_S_R", "Button_Time_Format_S_W"},
};

// The range of a track bar flagged kOwnRange: 0 to this.
inline constexpr int kOwnRangeMax = 65535;

} // namespace trelvik::settings
