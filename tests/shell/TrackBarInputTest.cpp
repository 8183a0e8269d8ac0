// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "shell/TrackBarInput.h"

using namespace trelvik::shell;

namespace {

struct WheelRow {
    const char* what;
    ControlKind focused;
    TrackBarPosition bar;
    int distance;
    WheelOutcome expected;
};

TEST(FormMouseWheel, OneStepPerMessageWithinTheRange) {
    const WheelRow rows[] = {
        {"towards the user increases", ControlKind::TrackBar, {5, 0, 10}, -120, {true, 6}},
        {"away from the user decreases", ControlKind::TrackBar, {5, 0, 10}, 120, {true, 4}},
        {"a long turn is still one step", ControlKind::TrackBar, {5, 0, 10}, -720, {true, 6}},
        {"a fine touchpad step is one step too", ControlKind::TrackBar, {5, 0, 10}, 1, {true, 4}},
        {"no distance leaves it, but takes the message", ControlKind::TrackBar, {5, 0, 10}, 0, {true, 5}},
        {"at the maximum it stays", ControlKind::TrackBar, {10, 0, 10}, -120, {true, 10}},
        {"at the minimum it stays", ControlKind::TrackBar, {0, 0, 10}, 120, {true, 0}},
        {"negative ranges work alike", ControlKind::TrackBar, {-3, -5, 5}, -120, {true, -2}},
        {"a one-value bar does not move", ControlKind::TrackBar, {7, 7, 7}, 120, {true, 7}},
        {"an inverted range keeps the position", ControlKind::TrackBar, {3, 10, 0}, -120, {true, 3}},
        {"a drop-down list keeps the wheel", ControlKind::Other, {5, 0, 10}, -120, {false, 5}},
        {"nothing focused: not taken", ControlKind::None, {5, 0, 10}, 120, {false, 5}},
    };
    for (const WheelRow& row : rows) {
        const WheelOutcome outcome = FormMouseWheel(row.focused, row.bar, row.distance);
        EXPECT_EQ(outcome.handled, row.expected.handled) << row.what;
        EXPECT_EQ(outcome.position, row.expected.position) << row.what;
    }
}

TEST(AppIdleTakesFocus, OnlyATrackBarWithoutTheFocusTakesIt) {
    const struct {
        ControlKind underMouse;
        bool hasFocus;
        bool takes;
    } rows[] = {
        {ControlKind::TrackBar, false, true}, {ControlKind::TrackBar, true, false},
        {ControlKind::Other, false, false},   {ControlKind::Other, true, false},
        {ControlKind::None, false, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(AppIdleTakesFocus(row.underMouse, row.hasFocus), row.takes)
            << static_cast<int>(row.underMouse) << " " << row.hasFocus;
}

} // namespace
