// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cmdtable/ToolMode.h"
#include "settings/CommandBinding.h"
#include "shell/Captions.h"

namespace trelvik::shell {

// What start-up asks of the main window. The Qt window implements it; tests use a recorder.
class StartupView {
public:
    virtual ~StartupView() = default;
    // Window colour as a 0x00BBGGRR word. Example: 0xD8E9EC, the light grey-beige.
    virtual void setWindowColour(std::uint32_t bgr) = 0;
    // Caption of the window and the application's title (narrow text of the command file).
    virtual void setCaption(const std::string& title) = 0;
    // Adapts pages and controls to the tool mode.
    virtual void adaptToToolMode(cmdtable::ToolMode toolMode) = 0;
    // Redraws the tool mode's track bars on the window's current colour.
    virtual void RefreshTrackBars() = 0;
    // Fills the tool mode's setting controls from the loaded command table.
    virtual void BindCommandTable(const settings::BindingSources& sources) = 0;
    // Fills the language list with the display names in order and selects `selected`
    // (-1: nothing).
    virtual void fillLanguageList(const std::vector<std::u16string>& names, int selected) = 0;
    // Writes the settings tool's texts in the present language (nothing in the full tool).
    virtual void ApplyCaptions(const CaptionSources& sources) = 0;
    // Shows the window and lets it paint before the camera is looked for.
    virtual void showAndPaint() = 0;
};

} // namespace trelvik::shell
