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
    // Words that are none of the above. Qt takes its own (-platform NAME, -style NAME ...) out
    // of the command line when it starts, so what is left here after that is an error.
    std::vector<std::string> unknown;
};

// `args` are the words after the program's name. The first of --help/-h and --version/-V
// decides, whatever else the line holds.
ToolCommandLine ParseToolCommandLine(const std::vector<std::string>& args);

std::string ToolHelpText();
// The answer to words the tool does not know: what is wrong, the usage line and where to
// find more. Example: {"--bogus"} -> "trelvik: unknown option \"--bogus\"\nUsage: ...".
std::string ToolUsageError(const std::vector<std::string>& unknown);
std::string ToolVersionText(); // "trelvik 0.1.0\n"

} // namespace trelvik::shell
