// SPDX-License-Identifier: MIT
// The camera commands of trelvik-cli, driven as a user drives them: the built executable, a
// state file for the simulated camera, exit codes, output and the camera's command log.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/PlainFile.h"
#include "support/CaseName.h"
#include "support/CliRun.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using trelvik::testing::CliRun;
using trelvik::testing::readLines;
using trelvik::testing::readText;

class CliCameraTest : public ::testing::Test {
protected:
    void plant(const std::string& text) { std::ofstream(state, std::ios::binary) << text; }

    // Runs trelvik-cli with `args` on the simulated camera of `state`.
    CliRun cli(std::vector<std::string> args, bool simulate = true) {
        if (simulate) args.push_back("--simulate=" + state.string());
        return trelvik::testing::runProgram(TRELVIK_CLI, args, dir);
    }

    json stateJson() const { return json::parse(readText(state)); }

    trelvik::testing::TempDir scratch{"trelvik-cli"};
    fs::path dir = scratch.path();
    fs::path state = dir / "cam.json";
    fs::path log = dir / "cam.json.log";
};

// Commands that must be refused before anything reaches the camera.
struct UsageCase {
    std::vector<std::string> args;
    const char* says; // part of the message on stderr
};

class CliUsageTest : public CliCameraTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CliUsageTest, ExitsOneAndSendsNothing) {
    const CliRun run = cli(GetParam().args);
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find(GetParam().says), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(log)) << readText(log);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, CliUsageTest,
    ::testing::Values(
        UsageCase{{"read", "0x100"}, "CODE must be 0-255"}, UsageCase{{"read", "-1"}, "CODE"},
        UsageCase{{"read", "0x4G"}, "CODE"}, UsageCase{{"read"}, "usage: trelvik-cli read CODE"},
        UsageCase{{"write", "0x41", "256"}, "VALUE must be 0-255"}, UsageCase{{"write", "0x41"}, "usage"},
        UsageCase{{"probe-read", "300"}, "CODE"}, UsageCase{{"probe-write", "1", "0x1FF"}, "VALUE"},
        UsageCase{{"format", "0"}, "--yes"}, UsageCase{{"format", "4", "--yes"}, "SLOT must be 0-3"},
        UsageCase{{"reset"}, "--yes"},
        UsageCase{{"set-clock", "2024-02-30T00:00:00"}, "not 'now' or a valid date"},
        UsageCase{{"set-clock", "2024-05-17 08:30:00"}, "valid date"},
        UsageCase{{"set-clock", "1999-12-31T23:59:59"}, "valid date"},
        UsageCase{{"set-clock", "2024-05-17T24:00:00"}, "valid date"}, UsageCase{{"info", "extra"}, "usage"},
        UsageCase{{"read", "1", "--bogus"}, "unknown option"},
        // The next option is not the file; taken as one it would be "not found".
        UsageCase{{"read", "1", "--ids-from", "--simulate"}, "option --ids-from needs a value"},
        UsageCase{{"devices", "--ids-from", "--debug"}, "option --ids-from needs a value"},
        UsageCase{{"read", "1", "--device="}, "--device needs the name of a camera"},
        // A factory reset by any other name needs --yes as reset does; a byte is
        // never cut to its low eight bits.
        UsageCase{{"write", "0", "255"},
                  "255 into register 0x00 returns every setting to its "
                  "factory default; add --yes to do it"},
        UsageCase{{"write", "DEBUG_SETTING", "255"}, "255 into DEBUG_SETTING returns every setting"},
        UsageCase{{"probe-write", "0", "0xFF"}, "0xFF into register 0x00 returns every setting"},
        UsageCase{{"probe-write", "0", "FF"}, "hexadecimal is written with 0x: 0xFF"},
        UsageCase{{"probe-read", "0x0141"}, "CODE must be 0-255"}),
    trelvik::testing::caseNames(&UsageCase::args));

// A setting of several registers that fails part-way says which of them hold the new value.
TEST_F(CliCameraTest, APartWriteNamesTheRegistersWritten) {
    plant(R"({"faults": {"unplug_after": 1}})");
    const CliRun run = cli({"write", "HC_PIR_INTERVAL", "5 min"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("HC_PIR_INTERVAL is half written: 0x42 hold the new value"), std::string::npos)
        << run.err;
}

// With --yes each of them resets the camera, as reset does; leading zeros are only zeros.
TEST_F(CliCameraTest, AFactoryResetByWriteProceedsWithYes) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"write", "0", "0255", "--yes"},
                                                 {"write", "DEBUG_SETTING", "255", "--yes"},
                                                 {"probe-write", "0x000", "0x0FF", "--yes"}}) {
        plant(R"({"registers": {"0x01": 3}})");
        const CliRun run = cli(args);
        EXPECT_EQ(run.code, 0) << args[0] << " " << args[1] << ": " << run.err;
        EXPECT_EQ(stateJson()["registers"]["0x01"], 2) << args[0] << " " << args[1];
    }
}

TEST_F(CliCameraTest, ReadPrintsTheValueAndLogsTheExactCommand) {
    const CliRun run = cli({"read", "0x01"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "0x02\n");
    EXPECT_EQ(
        readLines(log),
        std::vector<std::string>{
            R"({"cdb":"FC0B515A474554444201000000000000","dir":"in","len":16,"ok":true,"timeout_s":4,"lock":false})"});
}

TEST_F(CliCameraTest, WriteInOneProcessIsReadInTheNext) {
    EXPECT_EQ(cli({"write", "65", "0x02"}).code, 0);
    EXPECT_EQ(stateJson()["registers"]["0x41"], 2);
    EXPECT_EQ(cli({"read", "0x41"}).out, "0x02\n");
    const auto lines = readLines(log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(json::parse(lines[0])["cdb"], "FC0B515A534554444241020000000000");
}

struct ExitCase {
    const char* name;
    const char* state; // planted state file, "" for the factory camera
    std::vector<std::string> args;
    int exit;
    const char* out; // exact stdout, or nullptr to skip
};

class CliExitTest : public CliCameraTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(CliExitTest, ExitsAsDocumented) {
    const ExitCase& c = GetParam();
    if (*c.state) plant(c.state);
    const CliRun run = cli(c.args);
    EXPECT_EQ(run.code, c.exit) << c.name << ": " << run.err;
    if (c.out) EXPECT_EQ(run.out, c.out) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliExitTest,
    ::testing::Values(
        ExitCase{"not supported", "", {"read", "0x25"}, 3, ""},
        ExitCase{"write not supported", "", {"write", "0x26", "1"}, 3, ""},
        ExitCase{"failed transfer", R"({"faults": {"fail": ["QZGETDB"]}})", {"read", "1"}, 2, ""},
        ExitCase{"wrong echo", R"({"faults": {"wrong_echo": ["0x41"]}})", {"write", "0x41", "1"}, 2, ""},
        ExitCase{"unplugged", R"({"plugged": false})", {"read", "1"}, 4, ""},
        ExitCase{"unplugged list", R"({"plugged": false})", {"devices"}, 4, "[]\n"},
        ExitCase{"pc camera mode", R"({"mode": "pccam"})", {"clock"}, 4, ""},
        ExitCase{
            "frozen clock", R"({"clock": [24, 5, 17, 8, 30, 0]})", {"clock"}, 0, "2024-05-17T08:30:00\n"},
        ExitCase{"clock before 2000",
                 R"({"clock": [255, 12, 31, 23, 59, 59]})",
                 {"clock"},
                 0,
                 "1999-12-31T23:59:59\n"},
        ExitCase{"clock read fails", R"({"faults": {"fail": ["clock-read"]}})", {"clock"}, 2, ""},
        ExitCase{
            "clock write fails", R"({"faults": {"fail": ["clock-write"]}})", {"set-clock", "now"}, 2, ""},
        ExitCase{"card status fails", R"({"faults": {"fail": ["QZGETCA"]}})", {"media"}, 2, ""},
        ExitCase{"protected card", R"({"media": [68, 0, 0, 0]})", {"format", "0", "--yes"}, 2, ""},
        ExitCase{"built-in memory", R"({"media": [0, 2, 0, 0]})", {"format", "1", "--yes"}, 0, ""},
        ExitCase{"pccam refused", R"({"faults": {"fail": ["QZCHANG"]}})", {"pccam"}, 2, ""},
        ExitCase{"probe of a zero register", "", {"probe-read", "0x06"}, 0, "0x00\n"},
        ExitCase{"probe not supported", "", {"probe-read", "0x24"}, 3, ""},
        ExitCase{"probe write", "", {"probe-write", "0x41", "0xFF"}, 0, ""},
        ExitCase{"probe write no echo",
                 R"({"faults": {"wrong_echo": ["0x41"]}})",
                 {"probe-write", "0x41", "1"},
                 2,
                 ""},
        ExitCase{"probe without camera", R"({"plugged": false})", {"probe-read", "1"}, 4, ""},
        ExitCase{
            "identity read fails",
            R"({"faults": {"fail": ["QZGETMK"]}})",
            {"info"},
            2,
            "{\n  \"version\": \"V1.02\",\n  \"model\": \"TRELVIK SIMCAM TC-20\",\n  \"make\": null\n}\n"}),
    trelvik::testing::namedCases());

TEST_F(CliCameraTest, InvalidClockBytesAreShownRawAndExitTwo) {
    plant(R"({"clock": [24, 13, 40, 25, 61, 99]})");
    const CliRun run = cli({"clock"});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("0x18 0x0D 0x28 0x19 0x3D 0x63"), std::string::npos) << run.err;
}

TEST_F(CliCameraTest, SetClockSendsTheBlockWithTheVolumeLocked) {
    plant(R"({"clock": [0, 1, 1, 0, 0, 0]})");
    EXPECT_EQ(cli({"set-clock", "2031-12-31T23:59:59"}).code, 0);
    EXPECT_EQ(stateJson()["clock"], json({31, 12, 31, 23, 59, 59}));
    EXPECT_EQ(
        readLines(log),
        std::vector<std::string>{
            R"({"cdb":"FF0000000000","dir":"out","len":8,"data":"515A1F0C1F173B3B","ok":true,"timeout_s":60,"lock":true})"});
    EXPECT_EQ(cli({"clock"}).out, "2031-12-31T23:59:59\n");
}

TEST_F(CliCameraTest, MediaListsOnlySlotsWithAMedium) {
    plant(R"({"media": [68, 0, 2, 132]})");
    const CliRun run = cli({"media"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(json::parse(run.out), json::parse(R"({"status": [68, 0, 2, 132], "media": [
        {"slot": 0, "name": "Memory Card", "protected": true, "inserted": true},
        {"slot": 2, "name": "Built-in NAND Flash", "protected": false, "inserted": true},
        {"slot": 3, "name": "Memory Card", "protected": false, "inserted": false}]})"));
}

TEST_F(CliCameraTest, ResetRestoresTheDefaults) {
    cli({"write", "0x01", "7"});
    const CliRun run = cli({"reset", "--yes"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(stateJson()["registers"]["0x01"], 2);
    EXPECT_EQ(json::parse(readLines(log).back())["cdb"], "FC0B515A5345544442"
                                                         "00FF0000000000");
}

TEST_F(CliCameraTest, PcCamTakesTheDiskAway) {
    EXPECT_EQ(cli({"pccam"}).code, 0);
    EXPECT_EQ(stateJson()["mode"], "pccam");
    EXPECT_EQ(cli({"devices"}).code, 4);
}

TEST_F(CliCameraTest, DevicesListsTheSimulatedDrive) {
    const CliRun run = cli({"devices"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(json::parse(run.out), json::parse(R"([{"name": "simcam", "disk": 0, "path": "sim:camera"}])"));
}

TEST_F(CliCameraTest, OtherIdsDoNotFindTheCamera) {
    const fs::path ids = dir / "mass_cmd.ini";
    std::ofstream(ids) << "[APP]\nTitle=x\nUsbVendorId=0x1234\n";
    EXPECT_EQ(cli({"devices", "--ids-from=" + ids.string()}).code, 4);
    EXPECT_EQ(cli({"devices", "--ids-from=" + (dir / "missing.ini").string()}).code, 1);
    const CliRun folder = cli({"devices", "--ids-from=" + dir.string()});
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err, "trelvik-cli: " + dir.string() + " is a folder, not a file\n");
}

TEST_F(CliCameraTest, UnplugAfterEndsTheSecondCommand) {
    plant(R"({"faults": {"unplug_after": 1}})");
    EXPECT_EQ(cli({"read", "1"}).code, 0);
    EXPECT_EQ(stateJson()["plugged"], false);
    EXPECT_EQ(cli({"read", "1"}).code, 4);
}

TEST_F(CliCameraTest, CorruptStateFileIsReportedAndKept) {
    const std::string corrupt = R"({"registers": {"0x01": "two"}})";
    plant(corrupt);
    const CliRun run = cli({"read", "1"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("registers.0x01"), std::string::npos) << run.err;
    EXPECT_EQ(readText(state), corrupt);
    EXPECT_FALSE(fs::exists(log));
}

TEST_F(CliCameraTest, ConcurrentProcessesLoseNoWrite) {
    // Each write is a read-modify-write of the whole file; without the lock some would be lost.
    constexpr int kWriters = 16;
    std::vector<int> codes(kWriters, -1);
    std::vector<std::thread> writers;
    for (int i = 0; i < kWriters; ++i)
        writers.emplace_back([&, i] {
            const std::string n = std::to_string(i);
            codes[i] = trelvik::testing::runAndWait(
                TRELVIK_CLI, {"write", std::to_string(0x10 + i), "0xA5", "--simulate=" + state.string()},
                dir / ("out" + n + ".txt"), dir / ("err" + n + ".txt"));
        });
    for (std::thread& writer : writers)
        writer.join();
    for (int i = 0; i < kWriters; ++i)
        EXPECT_EQ(codes[i], 0) << readText(dir / ("err" + std::to_string(i) + ".txt"));
    const json j = stateJson();
    for (int i = 0; i < kWriters; ++i) {
        char key[8];
        std::snprintf(key, sizeof key, "0x%02X", 0x10 + i);
        EXPECT_EQ(j["registers"][key], 0xA5) << key;
    }
    EXPECT_EQ(readLines(log).size(), static_cast<std::size_t>(kWriters));
}

// Folder names as a user's home and documents have them. The path is handed over as the
// system's narrow text (UTF-8 on Linux, the ANSI code page on Windows, where 0x80-0x9F hold the
// euro sign and the dashes); a name the code page cannot hold must be refused in words.
class CliStateFolderTest : public CliCameraTest, public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(CliStateFolderTest, WriteAndReadShareTheStateFile) {
    const fs::path folder = dir / fs::path(std::u16string(GetParam()));
    fs::create_directories(folder);
    const fs::path file = folder / "cam.json";
    const std::string narrow = trelvik::platform::narrowPath(file);
    const std::string simulate = "--simulate=" + narrow;
    const CliRun wrote = cli({"write", "0x41", "0x07", simulate}, false);
    if (trelvik::platform::filesystemPath(narrow) != file) {
        EXPECT_EQ(wrote.code, 1) << wrote.err;
        EXPECT_NE(wrote.err.find("state file"), std::string::npos) << wrote.err;
        return;
    }
    EXPECT_EQ(wrote.code, 0) << wrote.err;
    EXPECT_EQ(cli({"read", "0x41", simulate}, false).out, "0x07\n");
    EXPECT_EQ(readLines(fs::path(file).concat(".log")).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Names, CliStateFolderTest,
                         ::testing::Values(u"Pr\u00fcfung", u"Wald\u2013Kamera", u"\u20ac 5 \u201cneu\u201d",
                                           u"\u65e5\u672c\u8a9e", u"with  blanks"),
                         trelvik::testing::caseNames(std::identity{}));

TEST_F(CliCameraTest, SimulateWithoutFileUsesAFreshCameraEachTime) {
    const std::vector<std::string> write{"write", "0x01", "9", "--simulate"};
    EXPECT_EQ(cli(write, false).code, 0);
    EXPECT_EQ(cli({"read", "0x01", "--simulate"}, false).out, "0x02\n");
}

// A state file that can be read but not saved is the host's problem, and the CLI must say so
// instead of blaming the camera; a read that changes nothing still works.
TEST_F(CliCameraTest, UnsavableStateFileIsNamedNotTheCamera) {
    const fs::path locked = dir / "locked";
    fs::create_directories(locked);
    const std::string simulate = "--simulate=" + (locked / "cam.json").string();
    ASSERT_EQ(cli({"read", "0x41", simulate}, false).code, 0);
    const std::string lock = "chattr +i '" + locked.string() + "' 2>/dev/null";
    if (std::system(lock.c_str()) != 0) GTEST_SKIP() << "this file system has no immutable folders";
    struct Unlock {
        std::string folder;
        ~Unlock() { std::system(("chattr -i '" + folder + "'").c_str()); }
    } unlock{locked.string()};

    const CliRun write = cli({"write", "0x41", "2", simulate}, false);
    EXPECT_EQ(write.code, 2);
    EXPECT_NE(write.err.find("cannot save the simulated camera's state file"), std::string::npos)
        << write.err;
    EXPECT_EQ(write.err.find("register 0x41"), std::string::npos) << write.err;
    const CliRun read = cli({"read", "0x41", simulate}, false);
    EXPECT_EQ(read.code, 0) << read.err;
    EXPECT_EQ(read.out, "0x00\n");
}

} // namespace
