// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/CommandLine.h"
#include "support/CaseName.h"

using trelvik::shell::ParseToolCommandLine;
using trelvik::shell::ToolCommandLine;
using Action = ToolCommandLine::Action;

namespace {

struct LineCase {
    std::vector<std::string> args;
    Action action;
    std::optional<std::string> simulate;
    std::vector<std::string> unknown = {};
};

class ToolCommandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ToolCommandLineTest, DecidesWhatTheToolDoes) {
    const LineCase& c = GetParam();
    const ToolCommandLine line = ParseToolCommandLine(c.args);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.simulate, c.simulate);
    EXPECT_EQ(line.unknown, c.unknown);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ToolCommandLineTest,
    ::testing::Values(
        LineCase{{}, Action::Run, std::nullopt}, LineCase{{"--simulate"}, Action::Run, std::string()},
        LineCase{{"--simulate=cam.json"}, Action::Run, std::string("cam.json")},
        LineCase{{"--simulate=a.json", "--simulate=b.json"}, Action::Run, std::string("a.json")},
        LineCase{{"--help"}, Action::Help, std::nullopt}, LineCase{{"-h"}, Action::Help, std::nullopt},
        LineCase{{"--version"}, Action::Version, std::nullopt},
        LineCase{{"-V"}, Action::Version, std::nullopt},
        LineCase{{"--version", "--help"}, Action::Version, std::nullopt},
        LineCase{{"--help", "--version"}, Action::Help, std::nullopt},
        LineCase{
            {"-platform", "offscreen", "--simulate"}, Action::Run, std::string(), {"-platform", "offscreen"}},
        LineCase{{"--simulated", "help", "version"},
                 Action::Run,
                 std::nullopt,
                 {"--simulated", "help", "version"}},
        LineCase{{"--bogus", "--help"}, Action::Help, std::nullopt, {"--bogus"}},
        LineCase{{"--simulate", "--help"}, Action::Help, std::string()}),
    trelvik::testing::caseNames(&LineCase::args));

TEST(ToolHelpText, NamesEveryOptionAndTheExitStatus) {
    const std::string help = trelvik::shell::ToolHelpText();
    for (const char* word :
         {"Usage: trelvik", "--simulate[=STATE.json]", "--help", "--version", "mass_cmd.ini",
          "Camera_Setting.ini", "Camera_Setting_UNICODE_msg.ini", "Exit status:"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST(ToolVersionText, IsTheNameAndTheProjectVersion) {
    EXPECT_EQ(trelvik::shell::ToolVersionText(), std::string("trelvik ") + TRELVIK_VERSION + "\n");
}

} // namespace
