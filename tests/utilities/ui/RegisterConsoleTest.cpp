// SPDX-License-Identifier: MIT
// Command Read and Write on the window against the simulated camera, found by the drive probe.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "UtilityWindow.h"

namespace trelvik::utilities {
namespace {

using testing::UtilityWindow;

struct ConsoleCase {
    const char* command;
    const char* data;
    const char* fault; // "fail": the transfer fails; "echo": the camera echoes another code
    std::string seen;  // traffic, data field, register 0x41, box
};

std::string refusal(const std::string& problem) {
    return "error [Command Write] The " + problem +
           " Type hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was "
           "written. OK\n";
}

std::string tooBig(const std::string& field) {
    return "error [Command Write] The " + field +
           " is above FF: registers and their values are one byte, 00 to FF. Nothing was written. OK\n";
}

// Registers 0x00, 0x04 and 0x41 hold 01, 00 and 02 before each click; 0x24 is not supported.
const std::string kRead = "information [Command Read] ";
const std::string kWrite = "information [Command Write] ";
const ConsoleCase kReadCases[] = {
    {"141", "77", "", "R41 02 02\n" + kRead + "[41] = 02 is read from device! OK\n"},
    // A read is lenient: the digits that lead the field, of its first 39 characters.
    {"0x41", "77", "", "R00 01 02\n" + kRead + "[00] = 01 is read from device! OK\n"},
    {" 41", "77", "", "R00 01 02\n" + kRead + "[00] = 01 is read from device! OK\n"},
    {"", "77", "", "R00 01 02\n" + kRead + "[00] = 01 is read from device! OK\n"},
    {"0000000000000000000000000000000000000041", "77", "",
     "R04 00 02\n" + kRead + "[04] = 00 is read from device! OK\n"},
    // An answer without a value replaces the field's old one.
    {"24", "77", "",
     "R24 <None> 02\nwarning [Command Read] [24] is not supported by the device: no value was read! OK\n"},
    {"41", "77", "echo",
     "R41 <None> 02\nwarning [Command Read] [41] was answered for another register: no value was read! OK\n"},
    {"41", "77", "fail", "R41! <N/A> 02\nerror [Command Read] [41] is failed to read from device! OK\n"},
};
const ConsoleCase kWriteCases[] = {
    {"041", "0FF", "", "W41=FF 0FF FF\n" + kWrite + "[41] = FF is written to device! OK\n"},
    {"41", "05", "fail", "W41=05! 05 02\nerror [Command Write] [41] = 05 is failed to write to device! OK\n"},
    {"41", "05", "echo", "W41=05 05 05\nerror [Command Write] [41] = 05 is failed to write to device! OK\n"},
    // A write is strict: a refused field sends nothing, and its text is never a format.
    {"0x41", "05", "",
     " 05 02\n" + refusal("Command field \"0x41\" holds a character that is not a hexadecimal digit.")},
    {" 41", "05", "",
     " 05 02\n" + refusal("Command field \" 41\" holds a character that is not a hexadecimal digit.")},
    {"%s%n", "05", "",
     " 05 02\n" + refusal("Command field \"%s%n\" holds a character that is not a hexadecimal digit.")},
    {"", "05", "", " 05 02\n" + refusal("Command field is empty.")},
    {"41", "", "", "  02\n" + refusal("Data field is empty.")},
    {"41", "<None>", "",
     " <None> 02\n" + refusal("Data field \"<None>\" holds a character that is not a hexadecimal digit.")},
    {"0000000000000000000000000000000000000041", "05", "",
     " 05 02\n" + refusal("Command field holds more than 39 digits.")},
    // Kept to its low byte, "100" would be register 0x00 and FF the factory reset.
    {"100", "FF", "", " FF 02\n" + tooBig("Command field \"100\"")},
    {"41", "1FF", "", " 1FF 02\n" + tooBig("Data field \"1FF\"")},
    {"\uFF14\uFF11", "05", "",
     " 05 02\n" +
         refusal("Command field \"\uFF14\uFF11\" holds a character that is not a hexadecimal digit.")},
};

void run(UtilityWindow& window, const ConsoleCase& c, const char* button) {
    window.set({{0x00, 0x01}, {0x04, 0x00}, {0x41, 0x02}}, [&](sim::CameraState& state) {
        state.faults.fail.clear();
        if (std::string(c.fault) == "fail") state.faults.fail = {"QZGETDB", "QZSETDB"};
        state.faults.wrongEcho.clear();
        if (std::string(c.fault) == "echo") state.faults.wrongEcho = {0x41};
    });
    window.find<QLineEdit>("TntEditCommand")->setText(c.command);
    window.find<QLineEdit>("TntEditData")->setText(c.data);
    const std::string seen = window.clickAndSee({button});
    char value[8];
    std::snprintf(value, sizeof value, " %02X", window.reg(0x41));
    const std::size_t traffic = seen.find('\n');
    EXPECT_EQ(seen.substr(0, traffic) + " " + window.find<QLineEdit>("TntEditData")->text().toStdString() +
                  value + seen.substr(traffic),
              c.seen)
        << button << " \"" << c.command << "\" \"" << c.data << "\" " << c.fault;
}

TEST(RegisterConsole, ReadsLenientlyAndWritesStrictlyInBothTools) {
    for (const auto files : {testing::kFullTool, testing::kSettingsTool}) {
        UtilityWindow window(files);
        for (const ConsoleCase& c : kReadCases)
            run(window, c, "TntButtonCommandRead");
        for (const ConsoleCase& c : kWriteCases)
            run(window, c, "TntButtonCommandWrite");
    }
}

} // namespace
} // namespace trelvik::utilities
