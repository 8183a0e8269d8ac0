// SPDX-License-Identifier: MIT
#include "shell/CommandLine.h"

namespace trelvik::shell {

namespace {
constexpr char kUsageLine[] = "Usage: trelvik [--simulate[=STATE.json]] [QT-OPTIONS]\n";
}

ToolCommandLine ParseToolCommandLine(const std::vector<std::string>& args) {
    ToolCommandLine line;
    bool decided = false;
    for (const std::string& word : args) {
        if (!decided && (word == "--help" || word == "-h")) {
            line.action = ToolCommandLine::Action::Help;
            decided = true;
        } else if (!decided && (word == "--version" || word == "-V")) {
            line.action = ToolCommandLine::Action::Version;
            decided = true;
        } else if (word == "--simulate") {
            if (!line.simulate) line.simulate = std::string();
        } else if (word.rfind("--simulate=", 0) == 0) {
            if (!line.simulate) line.simulate = word.substr(11);
        } else if (word != "--help" && word != "-h" && word != "--version" && word != "-V") {
            line.unknown.push_back(word);
        }
    }
    return line;
}

// Written for people and for help2man, which turns it into trelvik(1): "Heading:" lines
// become sections, indented option lines become the OPTIONS list.
std::string ToolHelpText() {
    return std::string(kUsageLine) +
           "Configure a battery-powered USB trail camera: its settings, clock, storage media and\n"
           "identity, over the camera's vendor SCSI commands.\n"
           "\n"
           "The command file beside the executable's real path (links are followed) decides what\n"
           "the tool is: mass_cmd.ini makes it the full tool, Camera_Setting.ini the end users'\n"
           "settings tool, whose texts come from Camera_Setting_UNICODE_msg.ini in the same\n"
           "folder. Installed from the package, trelvik starts the full tool and\n"
           "trelvik-settings the settings tool.\n"
           "\n"
           "Options:\n"
           "  --simulate[=STATE.json]  talk to the built-in simulated camera instead of the\n"
           "                           system's disks; with STATE.json the camera's state is\n"
           "                           kept in that file, shared with trelvik-cli, and every\n"
           "                           command it receives is appended to STATE.json.log\n"
           "  -h, --help               print this help and exit\n"
           "  -V, --version            print the version and exit\n"
           "\n"
           "Qt's own options (-platform NAME, -style NAME, ...) are accepted; any other word is\n"
           "an error.\n"
           "\n"
           "Exit status:\n"
           "  0  the tool ran and was closed: its errors are shown in its own message boxes\n"
           "  1  an option it does not know, or no display to show the window on\n";
}

std::string ToolUsageError(const std::vector<std::string>& unknown) {
    std::string text = "trelvik: unknown option";
    for (const std::string& word : unknown)
        text += " \"" + word + "\"";
    return text + "\n" + kUsageLine + "Try 'trelvik --help' for more information.\n";
}

std::string ToolVersionText() {
    return std::string("trelvik ") + TRELVIK_VERSION + "\n";
}

} // namespace trelvik::shell
