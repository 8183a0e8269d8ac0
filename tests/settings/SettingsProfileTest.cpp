// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/CameraConnection.h"
#include "settings/ProfileApply.h"
#include "settings/SettingsProfile.h"
#include "sim/SimDiskSystem.h"
#include "support/ProfileTable.h"
#include "text/Hex.h"

namespace trelvik::settings {
namespace {

// The sample command file, changed by `edit` when given.
struct Table : testing::ProfileTable {
    explicit Table(const std::function<void(std::string&)>& edit = nullptr)
        : ProfileTable(TRELVIK_DATA_DIR "/mass_cmd.ini", edit) {}
};

// Each value a person may write, read into register bytes and written back as a dump would.
TEST(ProfileValues, ReadAndWrittenInEveryForm) {
    Table t;
    const struct {
        const char* name;
        const char* text;
        std::vector<std::uint8_t> bytes;
        const char* dumped; // "" when the value is refused
    } cases[] = {
        {"PIR_SENSITIVITY", "2", {2}, "2"},
        {"pir_sensitivity", " High ", {2}, "2"},
        {"PIR_SENSITIVITY", "3", {}, ""},
        {"PIR_SENSITIVITY", "extreme", {}, ""},
        {"AUDIO_PLB_VOLUME", "8", {8}, "8"},
        {"AUDIO_PLB_VOLUME", "9", {}, ""},
        {"HC_DOWN_COUNT", "10000", {0x10, 0x27, 0x00}, "10000"},
        {"LANGUAGE_MODE", "FRANÇAIS", {2}, "2"},
        // Durations on the window's scale and within the command file's range of positions.
        {"AVI_RECORD_TIME", "30 sec", {0x1E}, "30 sec"},
        {"AVI_RECORD_TIME", "1 min", {0x81}, "1 min"},
        {"AVI_RECORD_TIME", "120 sec", {0x82}, "2 min"},
        {"AVI_RECORD_TIME", "10 min", {0x8A}, "10 min"},
        {"AVI_RECORD_TIME", "80", {}, ""},
        {"AVI_RECORD_TIME", "11 min", {}, ""},
        {"HC_PIR_INTERVAL", "5 min", {0x2C, 0x01}, "5 min"},
        {"HC_PIR_INTERVAL", "60 min", {0x10, 0x0E}, "60 min"},
        {"HC_PIR_INTERVAL", "90 sec", {}, ""},
        {"HC_PIR_INTERVAL", "2 hours", {}, ""},
        // Texts: every byte, escaped; what older profiles held, where it is unambiguous.
        {"PASSWORD", "\"ab\"", {'a', 'b', 0, 0}, "\"ab\""},
        {"PASSWORD", R"("\\\x00\x01\xff")", {'\\', 0, 1, 0xFF}, R"("\\\x00\x01\xFF")"},
        {"PASSWORD", R"("a\b")", {'a', '\\', 'b', 0}, R"("a\\b")"},
        {"PASSWORD", "\"abcde\"", {}, ""},
        {"PASSWORD", "\"ab", {}, ""},
        {"PASSWORD", "\"\xE2\x82\xAC\"", {}, ""}, // the euro sign fits no register
        {"SERIAL_NUMBER", "CAM 7", {'C', 'A', 'M', ' ', '7', 0, 0, 0, 0, 0}, "\"CAM 7\""},
    };
    for (const auto& c : cases) {
        const SettingRow* row = profileRowNamed(c.name);
        ASSERT_NE(row, nullptr) << c.name;
        const ParsedValue parsed = parseProfileValue(*row, c.text, t.table);
        EXPECT_EQ(parsed.bytes, c.bytes) << c.name << "=" << c.text << ": " << parsed.error;
        EXPECT_EQ(parsed.error.empty(), *c.dumped != 0) << c.name << "=" << c.text;
        if (*c.dumped) EXPECT_EQ(profileValue(*row, parsed.bytes), c.dumped) << c.name;
    }
}

TEST(CheckProfile, ListsEveryProblemWithItsLine) {
    Table t;
    const struct {
        const char* what;
        std::string file;
        std::vector<std::string> problems; // "line: start of the text"
        std::size_t planned = 0;
    } cases[] = {
        {"a good profile",
         "[Camera]\nmodel=X\n[Settings]\nPIR_SENSITIVITY=high ; note\nAVI_RECORD_TIME=30 sec\n",
         {},
         2},
        {"unknown names and sections",
         "[Settings]\nNO_SUCH=1\n[Extra]\nX=1\nnot a setting\n",
         {"2: unknown setting", "3: unknown section", "5: not a NAME=value"}},
        {"a value outside the choices and a duplicate",
         "[Settings]\nPIR_SENSITIVITY=7\nBEEP_MODE=1\nbeep_mode=0\n",
         {"2: PIR_SENSITIVITY: \"7\" is not one of its choices",
          "4: BEEP_MODE is set twice (first on line 3)"},
         1},
        {"per-camera settings belong in their own section",
         "[Settings]\nSERIAL_NUMBER=\"A\"\n[PerCamera]\nBEEP_MODE=1\nLATITUDE=1\n",
         {"2: SERIAL_NUMBER belongs to one camera alone", "4: BEEP_MODE is shared by every camera"},
         1},
        {"a value that would reset the camera",
         "[Settings]\nDEBUG_SETTING=255\n",
         {"2: DEBUG_SETTING: 255 in register 0x00 resets the camera"}},
        {"a setting before any section", "BEEP_MODE=1\n", {"1: a setting before any section"}},

        {"bytes that are no text",
         std::string("[Settings]\nPASSWORD=\"\x80\x81\"\n"),
         {"2: the line is not UTF-8 text"}},
    };
    for (const auto& c : cases) {
        const CheckedProfile checked = checkProfile(c.file, t.table, true);
        std::vector<std::string> seen;
        for (std::size_t i = 0; i < checked.problems.size(); ++i) {
            const std::string line =
                std::to_string(checked.problems[i].line) + ": " + checked.problems[i].text;
            seen.push_back(i < c.problems.size() ? line.substr(0, c.problems[i].size()) : line);
        }
        EXPECT_EQ(seen, c.problems) << c.what;
        EXPECT_EQ(checked.settings.size(), c.planned) << c.what;
    }
}

// A label that two choices share names neither: the number must say which.
TEST(CheckProfile, ALabelTwoChoicesShareIsRefused) {
    Table t([](std::string& text) {
        text.replace(text.find("0=0:Off", text.find("name=PIR_CENTER_ENABLE")), 7, "0=0:On");
    });
    const CheckedProfile checked =
        checkProfile("[Settings]\nPIR_CENTER_ENABLE=on\nPIR_SIDE_ENABLE=1\n", t.table, false);
    ASSERT_EQ(checked.problems.size(), 1u);
    EXPECT_EQ(checked.problems[0].text,
              "PIR_CENTER_ENABLE: the label \"on\" names 2 choices; write the number of the one meant");
    EXPECT_EQ(parseProfileValue(*profileRowNamed("PIR_CENTER_ENABLE"), "1", t.table).bytes,
              (std::vector<std::uint8_t>{1}));
}

TEST(CheckProfile, ReadsUtf16AndPlansInLoadOrderWithoutPerCameraUnlessAsked) {
    Table t;
    const std::string text =
        "[PerCamera]\r\nSERIAL_NUMBER=\"CAM-1\"\r\n[Settings]\r\nBEEP_MODE=On\r\nDEBUG_SETTING=0\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text)
        utf16 += std::string{c, '\0'};
    std::vector<std::string> planned;
    for (const bool perCamera : {false, true})
        for (const PlannedSetting& setting : checkProfile(utf16, t.table, perCamera).settings)
            planned.push_back(std::string(setting.row->name) + "@" + std::to_string(setting.line));
    EXPECT_EQ(planned, (std::vector<std::string>{"DEBUG_SETTING@5", "BEEP_MODE@4", "DEBUG_SETTING@5",
                                                 "BEEP_MODE@4", "SERIAL_NUMBER@2"}));
}

// The camera's answers in one report: written in Save's order inside the bracket (the debug
// setting again after it), a register the camera does not know, one that echoes another value,
// and the camera pulled out before the last setting.
TEST(ApplyProfile, ReportsEverySettingInSaveOrder) {
    Table t;
    const CheckedProfile profile =
        checkProfile("[Settings]\nDEBUG_SETTING=0\nPIR_SENSITIVITY=1\nPIR_SIDE_ENABLE=1\n"
                     "AUDIO_PLB_VOLUME=3\nHC_PIR_INTERVAL=5 min\n",
                     t.table, false);
    std::string seen;
    for (const int unplugAfter : {0, 4}) {
        sim::SimDiskSystem camera;
        camera.update([&](sim::CameraState& s) {
            s.unsupported = {0x3D};
            s.faults.wrongEcho = {0x23};
            s.faults.unplugAfter = unplugAfter;
        });
        link::CameraConnection connection(camera, camera.ids());
        ApplyOptions options;
        options.progress = [&](int sent, int total) {
            seen += std::to_string(sent) + "/" + std::to_string(total) + " ";
        };
        const ApplyReport report = applyProfile(connection, profile, options);
        for (const AppliedSetting& setting : report.settings)
            seen += std::string(setting.planned->row->name) + ":" +
                    std::string(applyStatusName(setting.status)) + " ";
        for (std::uint8_t code : report.registersWritten())
            seen += text::hexByte(code, "") + " ";
        const ApplyReport::Summary sum = report.summary();
        seen += "| " + std::to_string(sum.verified) + " " + std::to_string(sum.failed) + " " +
                std::to_string(sum.unsupported) + (report.bracketFailed() ? " unkept" : "") + "\n";
    }
    EXPECT_EQ(
        seen,
        "1/5 2/5 3/5 4/5 5/5 DEBUG_SETTING:verified AUDIO_PLB_VOLUME:failed PIR_SIDE_ENABLE:unsupported "
        "PIR_SENSITIVITY:verified HC_PIR_INTERVAL:verified 00 3E 42 43 | 3 1 1\n"
        "1/5 2/5 3/5 4/5 DEBUG_SETTING:written AUDIO_PLB_VOLUME:failed PIR_SIDE_ENABLE:unsupported "
        "PIR_SENSITIVITY:failed HC_PIR_INTERVAL:not_sent 00 | 0 3 1 unkept\n");
}

} // namespace
} // namespace trelvik::settings
