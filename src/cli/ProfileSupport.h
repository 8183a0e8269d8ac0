// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/CommandTableFile.h"
#include "link/CameraConnection.h"
#include "settings/SettingsProfile.h"

// What the profile commands (dump, check, apply) share.
namespace trelvik::cli {

// A setting's register codes for a report. Example: HC_PIR_INTERVAL -> ["0x42", "0x43"].
nlohmann::ordered_json codesJson(const settings::SettingRow& row);

// The name of the camera the connection works on, "" when none is found.
std::string deviceName(link::CameraConnection& camera);

// Loads the command file and reads the profile the first argument names into `bytes`: kExitOk,
// or kExitUsage after saying why on `err` (no file, not a regular file, larger than a profile
// can be).
int loadTableAndProfile(const Invocation& invocation, CommandTableFile& table, std::string& bytes,
                        std::ostream& err);

// Checks a profile; lists its problems on `out` as "FILE:LINE: text". True when there is none.
bool checkedProfile(const std::string& path, const std::string& bytes, const CommandTableFile& table,
                    bool includePerCamera, settings::CheckedProfile& profile, std::ostream& out);

} // namespace trelvik::cli
