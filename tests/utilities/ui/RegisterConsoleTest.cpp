// SPDX-License-Identifier: MIT
// Command Read and Command Write on the real window against the simulated camera, found by the
// drive probe: what each click sends, what the data field shows, the box, in both tool modes.
#include <gtest/gtest.h>

#include <QLineEdit>

#include <string>

#include "UtilityWindow.h"
#include "shell/ui/RequestGate.h"

namespace trelvik::utilities {
namespace {

using testing::kFullTool;
using testing::kSettingsTool;
using testing::UtilityWindow;

void type(testing::CameraWindow& window, const char* command, const char* data) {
    window.find<QLineEdit>("TntEditCommand")->setText(QString::fromUtf8(command));
    window.find<QLineEdit>("TntEditData")->setText(QString::fromUtf8(data));
}

struct ReadCase {
    const char* command;
    const char* fault; // "fail": the read's transfer fails; "echo": the camera echoes another code
    const char* seen;  // traffic, data field, box
};

// Register 0x41 holds 0x02 and 0x00 holds 0x01; 0x24 is one the camera does not support. The data
// field holds "77" before each read, so a value that is not replaced shows.
const ReadCase kReadCases[] = {
    {"41", "", "R41 02\ninformation [Command Read] [41] = 02 is read from device! OK\n"},
    {"141", "", "R41 02\ninformation [Command Read] [41] = 02 is read from device! OK\n"},
    // Reading stays lenient: it stops at the first character that is not a digit.
    {"0x41", "", "R00 01\ninformation [Command Read] [00] = 01 is read from device! OK\n"},
    {" 41", "", "R00 01\ninformation [Command Read] [00] = 01 is read from device! OK\n"},
    {"", "", "R00 01\ninformation [Command Read] [00] = 01 is read from device! OK\n"},
    {"4g1", "", "R04 00\ninformation [Command Read] [04] = 00 is read from device! OK\n"},
    // Only the first 39 characters count: the 40th digit is not read.
    {"000000000000000000000000000000000000004"
     "1",
     "", "R04 00\ninformation [Command Read] [04] = 00 is read from device! OK\n"},
    {"24", "",
     "R24 <None>\nwarning [Command Read] [24] is not supported by the device: no value was read! OK\n"},
    {"41", "echo",
     "R41 <None>\nwarning [Command Read] [41] was answered for another register: no value was read! OK\n"},
    {"41", "fail", "R41! <N/A>\nerror [Command Read] [41] is failed to read from device! OK\n"},
};

struct WriteCase {
    const char* command;
    const char* data;
    const char* fault; // "fail", "echo" or ""
    const char* seen;  // traffic, register 0x41 afterwards, box
};

// Register 0x41 holds 0x02 before each write.
const WriteCase kWriteCases[] = {
    {"41", "05", "", "W41=05 05\ninformation [Command Write] [41] = 05 is written to device! OK\n"},
    {"141", "1FF", "", "W41=FF FF\ninformation [Command Write] [41] = FF is written to device! OK\n"},
    {"41", "fe", "", "W41=FE FE\ninformation [Command Write] [41] = FE is written to device! OK\n"},
    {"41", "05", "fail", "W41=05! 02\nerror [Command Write] [41] = 05 is failed to write to device! OK\n"},
    // The camera answers with another code: the write is not confirmed and no drive is left.
    {"41", "05", "echo", "W41=05 05\nerror [Command Write] [41] = 05 is failed to write to device! OK\n"},
    // Writing is strict: anything but hexadecimal digits is refused and nothing is sent.
    {"0x41", "05", "",
     " 02\nerror [Command Write] The Command field \"0x41\" holds a character that is not a hexadecimal "
     "digit. Type "
     "hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was written. "
     "OK\n"},
    {" 41", "05", "",
     " 02\nerror [Command Write] The Command field \" 41\" holds a character that is not a hexadecimal "
     "digit. Type "
     "hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was written. "
     "OK\n"},
    {"", "05", "",
     " 02\nerror [Command Write] The Command field is empty. Type hexadecimal digits 0-9 and A-F only, "
     "without "
     "\"0x\" or blanks, for example 4E. Nothing was written. OK\n"},
    {"41", "", "",
     " 02\nerror [Command Write] The Data field is empty. Type hexadecimal digits 0-9 and A-F only, without "
     "\"0x\" "
     "or blanks, for example 4E. Nothing was written. OK\n"},
    {"41", "5 ", "",
     " 02\nerror [Command Write] The Data field \"5 \" holds a character that is not a hexadecimal digit. "
     "Type "
     "hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was written. "
     "OK\n"},
    // A placeholder a read left in the data field is no value to write.
    {"41", "<None>", "",
     " 02\nerror [Command Write] The Data field \"<None>\" holds a character that is not a hexadecimal "
     "digit. Type "
     "hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was written. "
     "OK\n"},
    // The user's text is shown as typed, never taken as a format.
    {"%s%n", "05", "",
     " 02\nerror [Command Write] The Command field \"%s%n\" holds a character that is not a hexadecimal "
     "digit. Type "
     "hexadecimal digits 0-9 and A-F only, without \"0x\" or blanks, for example 4E. Nothing was written. "
     "OK\n"},
    {"0000000000000000000000000000000000000041", "05", "",
     " 02\nerror [Command Write] The Command field holds more than 39 digits. Type hexadecimal digits 0-9 "
     "and A-F "
     "only, without \"0x\" or blanks, for example 4E. Nothing was written. OK\n"},
};

void plant(UtilityWindow& window, const char* fault) {
    window.set({{0x41, 0x02}, {0x00, 0x01}, {0x04, 0x00}}, [&](sim::CameraState& state) {
        state.faults.fail.clear();
        state.faults.wrongEcho.clear();
        if (std::string(fault) == "fail") state.faults.fail = {"QZGETDB", "QZSETDB"};
        if (std::string(fault) == "echo") state.faults.wrongEcho = {0x41};
    });
}

TEST(RegisterConsole, ReadsInBothTools) {
    for (const auto files : {kFullTool, kSettingsTool}) {
        UtilityWindow window(files);
        ASSERT_TRUE(window.started);
        for (const ReadCase& c : kReadCases) {
            plant(window, c.fault);
            type(window, c.command, "77");
            const std::string traffic = window.click({"TntButtonCommandRead"});
            const std::string data = window.find<QLineEdit>("TntEditData")->text().toStdString();
            EXPECT_EQ(traffic + " " + data + "\n" + window.boxes(), c.seen)
                << '"' << c.command << "\" " << c.fault;
        }
    }
}

TEST(RegisterConsole, WritesOnlyHexadecimalFieldsInBothTools) {
    for (const auto files : {kFullTool, kSettingsTool}) {
        UtilityWindow window(files);
        ASSERT_TRUE(window.started);
        for (const WriteCase& c : kWriteCases) {
            plant(window, c.fault);
            type(window, c.command, c.data);
            const std::string traffic = window.click({"TntButtonCommandWrite"});
            char value[4];
            std::snprintf(value, sizeof value, "%02X", window.reg(0x41));
            EXPECT_EQ(traffic + " " + value + "\n" + window.boxes(), c.seen)
                << '"' << c.command << "\" \"" << c.data << "\" " << c.fault;
        }
    }
}

// As the tool wires them: the open camera and the probe both behind the request gate, whose
// requests run on a worker thread while the window waits.
TEST(Utilities, WorkThroughTheRequestGate) {
    testing::CameraWindow window;
    shell::RequestGate gate;
    shell::GatedDiskSystem gated(window.camera, gate);
    int error = 0;
    const std::unique_ptr<platform::Disk> handle = gated.open(sim::kSimOpenPath, error);
    const UtilityServices services{window.tool.reporter, *window.tool.codec, window.tool.state,
                                   [&handle] { return handle.get(); }, gated};
    MediaActions media(window.tool.form, services);
    RegisterConsole console(window.tool.form, services);
    window.set({{0x41, 0x02}});
    type(window, "41", "");
    window.tool.presenter.scriptAnswers({i18n::kAnswerOk, i18n::kAnswerYes});
    EXPECT_EQ(window.click({"TntButtonCommandRead", "TntButton_Card_Format"}), "R41 QZGETCA 00 QZFMTCA 00");
    EXPECT_EQ(window.tool.presenter.texts(),
              (std::vector<std::u16string>{u"[41] = 02 is read from device!",
                                           u"Are you sure to format the \"Memory Card\" medium?",
                                           u"The \"Memory Card\" medium is formated successfully!"}));
    EXPECT_FALSE(gate.busy());
}

} // namespace
} // namespace trelvik::utilities
