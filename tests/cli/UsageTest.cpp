// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "support/CaseName.h"

namespace {

struct UsageCase {
    std::vector<std::string> args;
    int exitCode;
    std::string outStarts; // "" when stdout stays empty
    std::string errStarts; // "" when stderr stays empty
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, AnswersWithoutACamera) {
    const UsageCase& c = GetParam();
    std::ostringstream out, err;
    EXPECT_EQ(trelvik::cli::runCli(c.args, out, err), c.exitCode);
    EXPECT_EQ(out.str().rfind(c.outStarts, 0), 0u) << out.str();
    EXPECT_EQ(err.str().rfind(c.errStarts, 0), 0u) << err.str();
    if (c.outStarts.empty()) EXPECT_EQ(out.str(), "");
    if (c.errStarts.empty()) EXPECT_EQ(err.str(), "");
}

const std::string kVersionLine = std::string("trelvik-cli ") + TRELVIK_VERSION + "\n";

INSTANTIATE_TEST_SUITE_P(
    Words, CliUsageTest,
    ::testing::Values(
        UsageCase{{"--version"}, 0, kVersionLine, ""}, UsageCase{{"-V"}, 0, kVersionLine, ""},
        UsageCase{{"--help"}, 0, "Usage: trelvik-cli", ""}, UsageCase{{"-h"}, 0, "Usage: trelvik-cli", ""},
        UsageCase{{"help"}, 0, "Usage: trelvik-cli", ""}, UsageCase{{}, 1, "", "Usage: trelvik-cli"},
        UsageCase{{"--versions"}, 1, "", "trelvik-cli: no command after --versions"},
        UsageCase{{"--simulate"}, 1, "", "trelvik-cli: no command after --simulate"},
        UsageCase{{"--simulate", "nosuch"}, 1, "", "trelvik-cli: unknown command 'nosuch'"},
        UsageCase{{"--simulate", "info"}, 0, "{", ""},
        UsageCase{{"--simulate", "info", "--help"}, 0, "usage: trelvik-cli info", ""},
        UsageCase{{"--langid=0409", "table", "x.ini"}, 1, "", "trelvik-cli table: unknown option --langid"},
        UsageCase{{"table", "--help"}, 0, "usage: trelvik-cli table FILE", ""}),
    trelvik::testing::caseNames(&UsageCase::args));

TEST(CliUsage, NamesTheCommandsTheCameraOptionsAndTheExitCodes) {
    std::ostringstream out, err;
    trelvik::cli::runCli({"--help"}, out, err);
    for (const char* word : {"table FILE", "--simulate[=STATE.json]", "--ids-from=FILE", "--debug",
                             "4 no camera found", "--version"})
        EXPECT_NE(out.str().find(word), std::string::npos) << word;
}

} // namespace
