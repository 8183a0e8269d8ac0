// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trelvik::shell {

// What the tool's command line asks for. --help and --version are answered before any
// window system is touched, so they work without a display (help2man, package checks).
struct ToolCommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    // "--simulate" gives "", "--simulate=STATE.json" the file; the first one counts.
    std::optional<std::string> simulate;
};

// `args` are the words after the program's name. The first of --help/-h and --version/-V
// decides; every other word is left to Qt (-platform, -style ...) or ignored.
ToolCommandLine ParseToolCommandLine(const std::vector<std::string>& args);

std::string ToolHelpText();
std::string ToolVersionText(); // "trelvik 0.1.0\n"

} // namespace trelvik::shell
