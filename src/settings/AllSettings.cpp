// SPDX-License-Identifier: MIT
#include "settings/AllSettings.h"

#include "link/CameraFacts.h"
#include "settings/SettingRows.h"
#include "text/Unicode.h"

namespace trelvik::settings {

namespace {

using cmdtable::ToolMode;

constexpr const char* kMediumInfo = "TntButtonGetMediumInfo";
constexpr const char* kFirmware = "TntButtonGetFirmwareVersion";
constexpr const char* kModel = "TntButton_GetModelID";
constexpr const char* kMake = "TntButton_GetMakeID";
constexpr std::string_view kDebugSetting = "DEBUG_SETTING";

RunStep click(std::string button) {
    return {RunStep::Click, std::move(button)};
}

// The R or W button of every setting of the tool mode's pages, in table order: the Settings
// page from the top, the register pages in order of code. The debug setting comes first
// where it is shown, ahead of the formats.
void addRows(std::vector<RunStep>& steps, ToolMode toolMode, bool read) {
    const bool settingsTool = toolMode == ToolMode::Settings;
    for (const SettingRow& row : settingRows())
        if (shownInSettingsTool(row) == settingsTool && row.name != kDebugSetting)
            steps.push_back(click(read ? readButtonName(row) : writeButtonName(row)));
}

void addFormats(std::vector<RunStep>& steps, bool read) {
    for (const FormatList& format : kFormatLists)
        steps.push_back(click(std::string(read ? format.readButton : format.writeButton)));
}

std::string debugButton(bool read) {
    return read ? "Button_CFG_DEBUG_SETTING_R" : "Button_CFG_DEBUG_SETTING_W";
}

std::string cutCaption(const std::string& caption) {
    return std::string(text::cutUtf8(caption, kMaxCaptionLength));
}

} // namespace

std::vector<RunStep> LoadSteps(ToolMode toolMode) {
    std::vector<RunStep> steps{click(kMediumInfo), click(kFirmware)};
    if (toolMode == ToolMode::Settings) {
        addFormats(steps, true);
        addRows(steps, toolMode, true);
        steps.push_back({RunStep::Caption, {}});
        return steps;
    }
    steps.insert(steps.end(),
                 {click(kModel), click(kMake), {RunStep::Caption, {}}, click(debugButton(true))});
    addFormats(steps, true);
    addRows(steps, toolMode, true);
    return steps;
}

std::vector<RunStep> SaveSteps(ToolMode toolMode) {
    std::vector<RunStep> steps;
    if (toolMode == ToolMode::Settings) {
        addFormats(steps, false);
        addRows(steps, toolMode, false);
        return steps;
    }
    steps.push_back({RunStep::FlashSave, {}, link::kFlashSaveHold});
    steps.push_back(click(debugButton(false)));
    addRows(steps, toolMode, false);
    steps.push_back({RunStep::FlashSave, {}, link::kFlashSaveKeep});
    steps.push_back(click(debugButton(false)));
    return steps;
}

std::string LoadCaption(ToolMode toolMode, std::string_view titleBase, const IdentityTexts& identity) {
    std::string caption(titleBase);
    if (toolMode == ToolMode::Settings)
        caption += " - Firmware:" + identity.firmwareVersion;
    else
        caption += " - Firmware Version:" + identity.firmwareVersion + ", Model ID:" + identity.modelId +
                   ", Make ID:" + identity.makeId;
    return cutCaption(std::move(caption));
}

} // namespace trelvik::settings
