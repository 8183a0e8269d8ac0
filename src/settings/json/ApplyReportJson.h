// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "link/CameraConnection.h"
#include "settings/ProfileApply.h"

namespace trelvik::settings {

// A setting's register codes for a report. Example: HC_PIR_INTERVAL -> ["0x42", "0x43"].
nlohmann::ordered_json codesJson(const SettingRow& row);

// One camera's apply report: a row per setting, the flash-save bracket, the clock and the
// summary, with the camera's identity read from `camera` now.
nlohmann::ordered_json applyReportJson(link::CameraConnection& camera, const ApplyReport& report,
                                       const std::string& device);

// A JSON document as printed: indented, with a final newline. Texts from files and cameras
// may be any bytes: invalid UTF-8 is replaced, so this never throws.
std::string jsonDocument(const nlohmann::ordered_json& document);

} // namespace trelvik::settings
