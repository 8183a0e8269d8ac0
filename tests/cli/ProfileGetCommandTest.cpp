// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/CliRun.h"

namespace trelvik::cli {
namespace {

const std::string kFixtures = TRELVIK_FIXTURES "/profile/";

using Result = trelvik::testing::CliRun;

Result run(std::vector<std::string> args) {
    args.insert(args.begin(), "profile-get");
    return trelvik::testing::runCommandLine(args);
}

TEST(ProfileGetCommand, PrintsNarrowValueAndNewline) {
    const Result r = run({kFixtures + "command_utf8.ini", "app", "TITLE"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "Trail camera \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC\n");
    EXPECT_EQ(r.err, "");
}

TEST(ProfileGetCommand, WideReadsUtf16FileAndPrintsUtf8) {
    const Result r = run({"--wide", kFixtures + "message_utf16le.ini", "String", "1100"});
    EXPECT_EQ(r.code, kExitOk);
    EXPECT_EQ(r.out, "  Gr\xC3\xBC\xC3\x9F"
                     "e aus dem Wald  \n");
}

TEST(ProfileGetCommand, NarrowAndWideCutDifferently) {
    // 300 three-byte characters: 85 whole characters narrow, 255 wide.
    const Result narrow = run({kFixtures + "message_utf16le.ini", "String", "0101"});
    const Result wide = run({kFixtures + "message_utf16le.ini", "String", "0101", "--wide"});
    EXPECT_EQ(narrow.out.size(), 85u * 3 + 1);
    EXPECT_EQ(wide.out.size(), 255u * 3 + 1);
}

TEST(ProfileGetCommand, MissingValuePrintsNothing) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {kFixtures + "command_utf8.ini", "APP", "NoSuchKey"},
             {kFixtures + "no_such_file.ini", "APP", "Title"},
             {"--wide", kFixtures + "message_utf16le.ini", "String", "0102"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
    }
}

// A missing value is silent, so a script can test for it; a file that cannot be read is a
// mistake to tell about.
TEST(ProfileGetCommand, FileThatIsNoFileIsNamed) {
    struct Case {
        std::string file;
        std::string says;
    };
    for (const Case& c : {Case{kFixtures + "no_such_file.ini", "does not exist"},
                          Case{kFixtures, "is a folder, not a file"}}) {
        const Result r = run({c.file, "APP", "Title"});
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "trelvik-cli profile-get: " + c.file + " " + c.says + "\n");
    }
}

TEST(ProfileGetCommand, WrongArgumentCountIsAUsageError) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"a.ini"}, {"a.ini", "APP"}, {"a.ini", "APP", "Title", "extra"}}) {
        const Result r = run(args);
        EXPECT_EQ(r.code, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: trelvik-cli profile-get"), std::string::npos) << r.err;
    }
}

} // namespace
} // namespace trelvik::cli
