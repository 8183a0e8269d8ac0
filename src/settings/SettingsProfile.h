// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "settings/SettingRows.h"

// A settings profile: a text file a person can read, edit and keep under version control,
// holding the values of the camera's settings by register name. What belongs to one camera
// alone (its serial number and coordinates) sits in a section of its own and is written only
// when asked for.
//
//   [Camera]                ; where the profile came from; never written to a camera
//   model="TC-20"
//   [Settings]
//   PIR_SENSITIVITY=2 ; High
//   AVI_RECORD_TIME=30 sec
//   PASSWORD="0000"
//   [PerCamera]
//   SERIAL_NUMBER="CAM\x0007"
namespace trelvik::settings {

// A profile is a few kilobytes; a larger file is refused unread, as a state file is.
inline constexpr std::size_t kMaxProfileBytes = 1 << 20;

inline constexpr std::string_view kCameraSection = "Camera";
inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kPerCameraSection = "PerCamera";

// True for what belongs to one camera alone: SERIAL_NUMBER and the coordinate settings.
bool isPerCamera(const SettingRow& row);

// The settings a profile can hold with this command table: the full tool's rows whose code
// the table has, in Load's order (the debug setting first, then by code).
std::vector<const SettingRow*> profileRows(const cmdtable::MassCmdTable& table);

// The row of a register name, matched without regard to case; null when none.
const SettingRow* profileRowNamed(std::string_view name);

// The command file's entry of a register; null when it has none.
const cmdtable::MassCmd* commandEntry(const cmdtable::MassCmdTable& table, int code);

// The profile's text for a setting's register bytes; a duration as the window shows it, a text
// as quoteBytes writes it without its trailing zero bytes. Examples: a list's raw value "2"; a
// count "10000"; AVI_RECORD_TIME 0x85 "5 min", 0x1E "30 sec"; PASSWORD "\"00\\x0100\"".
std::string profileValue(const SettingRow& row, std::span<const std::uint8_t> bytes);
// The comment a dump writes after a value, "" for none: the label of a list's value in the
// command table ("High"), or for a duration off the window's scale what the window makes of it.
std::string profileLabel(const SettingRow& row, std::span<const std::uint8_t> bytes,
                         const cmdtable::MassCmdTable& table);

// A profile value read back into register bytes, or why it cannot be. A list takes a number
// or a choice label (trimmed, any case); a number must lie in the command table's range; a
// duration reads "N sec", "N min" or plain seconds, put on the window's scale (seconds up to 59,
// then whole minutes) and held to the command table's range of positions, and is encoded as
// the window writes it; a text is read by unquoteText. Example: (PIR_SENSITIVITY, "high") -> {2}.
struct ParsedValue {
    std::vector<std::uint8_t> bytes;
    std::string error; // empty when the value is good
};
ParsedValue parseProfileValue(const SettingRow& row, std::string_view text,
                              const cmdtable::MassCmdTable& table);

// One setting a checked profile asks for.
struct PlannedSetting {
    const SettingRow* row;
    std::string value; // as the profile writes it
    std::vector<std::uint8_t> bytes;
    int line;
};

struct ProfileProblem {
    int line; // 0: the file as a whole
    std::string text;
};

struct CheckedProfile {
    std::vector<PlannedSetting> settings; // in Load's order
    std::vector<ProfileProblem> problems; // in order of line
};

// Reads and checks a profile without a camera: names, values, duplicates, per-camera settings
// outside their section, a value that would reset the camera instead of setting it, and a
// profile that sets nothing. [PerCamera] settings are planned only with `includePerCamera`.
// UTF-8 or UTF-16 with a byte-order mark; CR LF, LF and CR each end a line. [Camera] is never
// checked: whatever its lines hold, it cannot make a profile fail.
CheckedProfile checkProfile(std::string_view fileBytes, const cmdtable::MassCmdTable& table,
                            bool includePerCamera);

// One setting as read from a camera for a dump.
struct DumpedSetting {
    const SettingRow* row;
    std::vector<std::uint8_t> bytes; // empty when it could not be read
    std::string why;                 // when empty bytes: "not supported by the camera" or the failure
};

// The profile text of a dump: [Camera] with `cameraFacts` (key, any bytes: each value quoted
// by quoteBytes), [Settings] and [PerCamera], a setting left out as a comment saying why.
std::string writeProfile(const std::vector<std::pair<std::string, std::string>>& cameraFacts,
                         const std::vector<DumpedSetting>& settings, const cmdtable::MassCmdTable& table);

} // namespace trelvik::settings
