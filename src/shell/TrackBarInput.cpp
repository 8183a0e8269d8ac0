// SPDX-License-Identifier: MIT
#include "shell/TrackBarInput.h"

#include <algorithm>

namespace trelvik::shell {

WheelOutcome FormMouseWheel(ControlKind focused, const TrackBarPosition& bar, int wheelDistance) {
    if (focused != ControlKind::TrackBar) return {false, bar.position};
    int position = bar.position;
    if (wheelDistance < 0) position += bar.tickFrequency;
    if (wheelDistance > 0) position -= bar.tickFrequency;
    // A bar given an inverted range keeps the position it has rather than jumping.
    if (bar.minimum <= bar.maximum)
        position = std::clamp(position, bar.minimum, bar.maximum);
    else
        position = bar.position;
    return {true, position};
}

bool AppIdleTakesFocus(ControlKind underMouse, bool underMouseHasFocus) {
    return underMouse == ControlKind::TrackBar && !underMouseHasFocus;
}

} // namespace trelvik::shell
