// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <functional>
#include <string_view>

#include "i18n/Reporter.h"
#include "link/CameraConnection.h"
#include "platform/TextCodec.h"
#include "shell/AppState.h"
#include "utilities/UtilityBoxes.h"

// What the utility buttons of the window reach when they run.
namespace trelvik::utilities {

struct UtilityServices {
    i18n::Reporter& reporter;
    const platform::TextCodec& codec;
    const shell::AppState& state; // its ToolMode picks plain or localized boxes
    // The window's connection: open while a camera is connected, every request failing at once
    // while not. The drive probe (register console, medium list format) tries the drives of its
    // system, so the probe's requests queue with all others.
    link::CameraConnection& camera;
};

// Longest medium name handed to a localized box, in UTF-16 units.
inline constexpr std::size_t kMaxMediumNameLength = 63;

// Shows `box` as the tool mode wants it: the full tool's plain box with `name` in place of
// its "%s", or the settings tool's message by number with `name` as its argument. Returns the
// answer (kAnswerYes, kAnswerNo, ...; a box closed without a choice answers kAnswerOk).
int showUtilityBox(const UtilityServices& services, const UtilityBox& box, std::string_view name = {});

// The hourglass for as long as this object lives.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// The control `name` of the window under `root`, or null.
template <typename W> W* control(QWidget& root, const char* name) {
    return root.findChild<W*>(QString::fromLatin1(name));
}

} // namespace trelvik::utilities
