// SPDX-License-Identifier: MIT
#pragma once

namespace trelvik::shell {

// What a control is, as far as the wheel and the mouse rules care.
enum class ControlKind { None, TrackBar, Other };

// A track bar's position within its range. Every track bar of the window steps by 1.
struct TrackBarPosition {
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int tickFrequency = 1;
};

struct WheelOutcome {
    bool handled = false; // false: the wheel message is left to whoever else wants it
    int position = 0;     // the track bar's new position (its old one when not handled)
};

// One wheel message while `focused` has the keyboard focus. `wheelDistance` is positive when
// the wheel turns away from the user: that moves the bar one step down, towards the user
// one step up, whatever the distance; the bar stays within its range. The message is taken
// whenever a track bar has the focus, even when the bar does not move.
// Example: FormMouseWheel(TrackBar, {5, 0, 10}, -120) -> {true, 6}
WheelOutcome FormMouseWheel(ControlKind focused, const TrackBarPosition& bar, int wheelDistance);

// Whether the control under the resting mouse takes the keyboard focus: a track bar that
// does not have it yet.
// Example: AppIdleTakesFocus(TrackBar, false) -> true
bool AppIdleTakesFocus(ControlKind underMouse, bool underMouseHasFocus);

} // namespace trelvik::shell
