// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cmdtable/ToolMode.h"

// Load and Save of every setting at once: which buttons they click, in which order, and the
// caption Load gives the window. They do no register work of their own.
namespace trelvik::settings {

// One step of a Load or a Save.
struct RunStep {
    enum Kind {
        Click,     // click `button`, as a user would
        Caption,   // set the window caption from the camera's identity
        FlashSave, // tell the camera to keep (1) or hold back (0) what is written
    };
    Kind kind;
    std::string button;    // Click only
    std::uint8_t flag = 0; // FlashSave only: link::kFlashSaveHold or link::kFlashSaveKeep
    bool operator==(const RunStep&) const = default;
};

// Example, settings tool: click TntButtonGetMediumInfo, TntButtonGetFirmwareVersion,
// Button_Date_Format_S_R, Button_Time_Format_S_R, the Settings page's R buttons top down,
// then the caption.
std::vector<RunStep> LoadSteps(cmdtable::ToolMode toolMode);
// Example, full tool: flash-save 0, Button_CFG_DEBUG_SETTING_W, every other W button of the
// register pages in order of code, flash-save 1, Button_CFG_DEBUG_SETTING_W again.
std::vector<RunStep> SaveSteps(cmdtable::ToolMode toolMode);

// What Load learnt of the camera's identity; the texts a failed read leaves.
struct IdentityTexts {
    std::string firmwareVersion = "<N/A>";
    std::string modelId = "Unknown";
    std::string makeId = "Unknown";
};

// The longest window caption, in bytes; a longer one is cut before a whole character.
inline constexpr std::size_t kMaxCaptionLength = 255;
// Example: settings tool, "Trail", V1.02 -> "Trail - Firmware:V1.02"; full tool ->
// "Trail - Firmware Version:V1.02, Model ID:TC-300, Make ID:Trelvik".
std::string LoadCaption(cmdtable::ToolMode toolMode, std::string_view titleBase,
                        const IdentityTexts& identity);

} // namespace trelvik::settings
