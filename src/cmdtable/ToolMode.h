// SPDX-License-Identifier: MIT
#pragma once

namespace trelvik::cmdtable {

// What the command file found beside the executable makes of the tool. The numbers are the
// ones the tool has always used for it: the index of the file in the order it is looked for.
enum class ToolMode : int {
    Full = 0,     // mass_cmd.ini: every register, the console and the debug setting
    Settings = 1, // Camera_Setting.ini: the end user's settings page, texts from the message file
};

} // namespace trelvik::cmdtable
