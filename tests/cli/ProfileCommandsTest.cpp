// SPDX-License-Identifier: MIT
// Settings profiles with the built trelvik-cli on simulated cameras kept in state files: a
// reference camera dumped, its profile edited, checked and applied to another camera.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/CliRun.h"
#include "support/ProfileTable.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using trelvik::testing::CliRun;
using trelvik::testing::readLines;
using trelvik::testing::readText;

class ProfileTest : public ::testing::Test {
protected:
    // Every command but set-clock (which takes no command file) is given the sample one.
    CliRun cli(std::vector<std::string> args, const std::string& camera) {
        if (args[0] != "set-clock") args.push_back("--table=" TRELVIK_DATA_DIR "/mass_cmd.ini");
        if (!camera.empty()) args.push_back("--simulate=" + (dir / camera).string());
        return trelvik::testing::runProgram(TRELVIK_CLI, args, dir);
    }
    void plant(const std::string& camera, const std::string& text) {
        std::ofstream(dir / camera, std::ios::binary) << text;
    }
    // The register commands of a camera's log: "R3E", "W3E=02", "QZSSVFL 00".
    std::vector<std::string> log(const std::string& camera) {
        std::vector<std::string> items;
        for (const std::string& line : readLines(dir / (camera + ".log"))) {
            const std::string cdb = json::parse(line)["cdb"];
            if (cdb.size() < 22) continue; // the clock's short commands
            const std::string name = cdb.substr(4, 14), code = cdb.substr(18, 2), value = cdb.substr(20, 2);
            if (name == "515A5345544442") items.push_back("W" + code + "=" + value);
            if (name == "515A535356464C") items.push_back("QZSSVFL " + code);
        }
        return items;
    }
    // The camera's registers `codes` as its state file holds them.
    std::map<int, int> registers(const std::string& camera, const std::vector<int>& codes) {
        const json state = json::parse(readText(dir / camera));
        std::map<int, int> values;
        for (const int code : codes) {
            char key[8];
            std::snprintf(key, sizeof key, "0x%02X", code);
            values[code] = state["registers"].value(key, -1);
        }
        return values;
    }
    std::string settingsOf(const std::string& profile) {
        const auto at = profile.find("[Settings]");
        return at == std::string::npos ? "" : profile.substr(at);
    }

    trelvik::testing::TempDir scratch{"trelvik-profile"};
    fs::path dir = scratch.path();
};

TEST_F(ProfileTest, DumpEditCheckApplyAndDumpAgainGiveTheSameSettings) {
    // The reference camera set up by register name.
    for (const auto& [name, value] :
         std::vector<std::pair<std::string, std::string>>{{"PIR_SENSITIVITY", "low"},
                                                          {"AVI_RECORD_TIME", "5 min"},
                                                          {"HC_PIR_INTERVAL", "300"},
                                                          {"PASSWORD", "A"}})
        ASSERT_EQ(cli({"write", name, value}, "ref.json").code, 0) << name;
    const CliRun dump = cli({"dump", "--output", (dir / "field.ini").string()}, "ref.json");
    ASSERT_EQ(dump.code, 0) << dump.err;
    std::string profile = readText(dir / "field.ini");
    EXPECT_NE(profile.find("PIR_SENSITIVITY=0 ; Low\n"), std::string::npos);
    EXPECT_NE(profile.find("AVI_RECORD_TIME=5 min\n"), std::string::npos);
    EXPECT_NE(profile.find("HC_PIR_INTERVAL=5 min\n"), std::string::npos);
    // A person edits it by label.
    profile.replace(profile.find("PIR_SENSITIVITY=0 ; Low"), 23, "PIR_SENSITIVITY = high");
    std::ofstream(dir / "field.ini", std::ios::binary) << profile;
    const CliRun check = cli({"check", (dir / "field.ini").string()}, "");
    EXPECT_EQ(check.code, 0) << check.out << check.err;

    const CliRun apply =
        cli({"apply", (dir / "field.ini").string(), "--set-clock", "2030-06-01T12:00:00"}, "cam.json");
    ASSERT_EQ(apply.code, 0) << apply.err << apply.out;
    const json report = json::parse(apply.out);
    EXPECT_EQ(report["summary"],
              json({{"verified", 77}, {"written", 0}, {"mismatch", 0}, {"failed", 0}, {"unsupported", 0}}));
    EXPECT_EQ(report["clock"]["after"], "2030-06-01T12:00:00");
    // Save's order: the bracket around the writes by code, register 0x00 once more after it.
    const std::vector<std::string> writes = log("cam.json");
    ASSERT_GT(writes.size(), 4u);
    EXPECT_EQ(writes.front(), "QZSSVFL 00");
    EXPECT_EQ(writes[1], "W00=00");
    EXPECT_EQ(writes[writes.size() - 2], "QZSSVFL 01");
    EXPECT_EQ(writes.back(), "W00=00");
    EXPECT_TRUE(std::is_sorted(writes.begin() + 1, writes.end() - 2));

    const CliRun again = cli({"dump"}, "cam.json");
    std::string expected = settingsOf(profile);
    expected.replace(expected.find("PIR_SENSITIVITY = high"), 22, "PIR_SENSITIVITY=2 ; High");
    // The serial number and coordinates stay the camera's own without --include-identity.
    EXPECT_EQ(settingsOf(again.out).substr(0, settingsOf(again.out).find("[PerCamera]")),
              expected.substr(0, expected.find("[PerCamera]")));
}

TEST_F(ProfileTest, AProfileWithAProblemSendsNothing) {
    std::ofstream(dir / "bad.ini") << "[Settings]\nPIR_SENSITIVITY=extreme\nDEBUG_SETTING=255\n";
    const CliRun run = cli({"apply", (dir / "bad.ini").string()}, "cam.json");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("bad.ini:2: PIR_SENSITIVITY"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("bad.ini:3: DEBUG_SETTING"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(dir / "cam.json.log"));
}

// A camera pulled out part-way: the report names what was written and what was not sent;
// applying again once it is back completes the job.
TEST_F(ProfileTest, ACameraPulledOutPartWayIsReportedAndASecondApplyCompletes) {
    std::ofstream(dir / "p.ini")
        << "[Settings]\nBEEP_MODE=0\nHC_PIR_INTERVAL=5 min\nPIR_SENSITIVITY=Low\nTV_MODE=0\n";
    plant("cam.json", R"({"faults": {"unplug_after": 3}})");
    const CliRun first = cli({"apply", (dir / "p.ini").string()}, "cam.json");
    EXPECT_EQ(first.code, 2);
    const json report = json::parse(first.out);
    std::vector<std::string> rows;
    for (const json& row : report["settings"])
        rows.push_back(row["name"].get<std::string>() + " " + row["status"].get<std::string>() + " " +
                       row["written"].dump());
    EXPECT_EQ(rows, (std::vector<std::string>{"BEEP_MODE written [\"0x04\"]", "TV_MODE written [\"0x05\"]",
                                              "PIR_SENSITIVITY failed []", "HC_PIR_INTERVAL not_sent []"}));
    plant("cam.json", R"({"registers": {"0x04": 0}})");
    const CliRun second = cli({"apply", (dir / "p.ini").string()}, "cam.json");
    EXPECT_EQ(second.code, 0) << second.out;
}

// A folder of three cameras, the second pulled out part-way: the others are set and verified,
// the report and the exit code say which one fell short. Side by side (the default) and one at
// a time give the same report and the same commands, in the same order, to each camera.
TEST_F(ProfileTest, ApplyToEveryCameraOfAFolderReportsEachCamera) {
    std::ofstream(dir / "p.ini")
        << "[Settings]\nBEEP_MODE=0\nTV_MODE=1\nPIR_SENSITIVITY=Low\nHC_PIR_INTERVAL=5 min\n";
    CliRun runs[2];
    std::vector<std::vector<std::string>> logs[2];
    for (int oneAtATime = 0; oneAtATime < 2; ++oneAtATime) {
        const std::string fleet = oneAtATime ? "one-at-a-time/" : "side-by-side/";
        fs::create_directories(dir / fleet);
        for (const char* name : {"a", "b", "c"})
            plant(fleet + name + ".json",
                  name == std::string("b") ? R"({"faults": {"unplug_after": 5}})" : "{}");
        std::vector<std::string> args{"apply", (dir / "p.ini").string(), "--all"};
        if (oneAtATime) args.insert(args.end(), {"--jobs", "1"});
        runs[oneAtATime] = cli(args, fleet);
        for (const char* name : {"a", "b", "c"})
            logs[oneAtATime].push_back(log(fleet + name + ".json"));
    }
    EXPECT_EQ(runs[1].out, runs[0].out);
    EXPECT_EQ(logs[1], logs[0]);
    const CliRun& run = runs[0];
    EXPECT_EQ(run.code, 2) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["summary"], json({{"cameras", 3}, {"ok", 2}, {"failed", 1}}));
    std::vector<std::string> cameras;
    for (const json& camera : report["cameras"])
        cameras.push_back(camera["device"].get<std::string>() + " " + camera["summary"]["verified"].dump());
    EXPECT_EQ(cameras, (std::vector<std::string>{"a 4", "b 0", "c 4"}));
    EXPECT_NE(run.err.find("camera b: fell short"), std::string::npos) << run.err;
    // Each camera's own log: the bracket and the writes in order.
    EXPECT_EQ(logs[0][2], (std::vector<std::string>{"QZSSVFL 00", "W04=00", "W05=01", "W3E=00", "W42=2C",
                                                    "W43=01", "QZSSVFL 01"}));
}

// A register the camera does not know: the row says so and the exit code is 3, not 2.
TEST_F(ProfileTest, ASettingTheCameraDoesNotKnowIsReportedAsUnsupported) {
    plant("cam.json", R"({"unsupported": ["0x05"]})");
    std::ofstream(dir / "p.ini") << "[Settings]\nBEEP_MODE=0\nTV_MODE=1\n";
    const CliRun run = cli({"apply", (dir / "p.ini").string()}, "cam.json");
    EXPECT_EQ(run.code, 3) << run.out;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["settings"][1]["status"], "unsupported");
    EXPECT_EQ(report["summary"],
              json({{"verified", 1}, {"written", 0}, {"mismatch", 0}, {"failed", 0}, {"unsupported", 1}}));
}

// Hostile profiles through check, then apply with --include-identity and the registers read
// back from the camera's state file: what check passes is written byte for byte and verified
// (apply exits 0 only then), what it refuses sends nothing.
TEST_F(ProfileTest, HostileProfilesAreWrittenExactlyOrRefusedWhole) {
    const struct {
        const char* what;
        std::string profile, checkSays;
        const char* registers; // "CODE=VALUE ..." after apply; "": check refuses, nothing is sent
    } cases[] = {
        {"a quote", "[Settings]\nPASSWORD=\"a\\\"b\"\n", "1 settings", "4F=61 50=22 51=62 52=00"},
        {"backslash, zero and control bytes", "[Settings]\nPASSWORD=\"\\\\\\x00\\x01\\xFF\"\n", "1 settings",
         "4F=5C 50=00 51=01 52=FF"},
        {"bytes after a zero", "[PerCamera]\r\nSERIAL_NUMBER=\"A\\x00B\" ; kept\r\n", "1 settings",
         "54=41 55=00 56=42 57=00 5D=00"},
        {"older profiles' control pictures and Latin-1", "[Settings]\nPASSWORD=\"\xE2\x90\x81\xC3\xA9\"\n",
         "1 settings", "4F=01 50=E9 51=00"},
        {"CR-only line endings", "[Settings]\rBEEP_MODE=0\rTV_MODE=1\r", "2 settings", "04=00 05=01"},
        {"CR-only with a reset inside", "[Settings]\rDEBUG_SETTING=255\r", "resets the camera", ""},
        {"the window's durations", "[Settings]\nAVI_RECORD_TIME=1 min\nHC_PIR_INTERVAL=2 min\n", "2 settings",
         "39=81 42=78 43=00"},
        {"a record time beyond the range", "[Settings]\nAVI_RECORD_TIME=127 min\n", "5 sec to 10 min", ""},
        {"an interval beyond the range", "[Settings]\nHC_PIR_INTERVAL=1092 min\n", "5 sec to 60 min", ""},
        {"an empty profile", "", "holds no settings", ""},
        {"only comments and sections", "; nothing\n[Settings]\n[PerCamera]\n", "holds no settings", ""},
        {"a raw control byte", "[Settings]\nPASSWORD=\"a\x01\"\n",
         "a raw byte 0x01 in the text: write it as \\x01", ""},
        {"text after the closing quote", "[Settings]\nPASSWORD=\"a\"b\"\n",
         "write a quote inside a text as \\\"", ""},
        {"a bad [Camera]", "[Camera]\nmodel=\"TC\xE2\x82\nbroken line\rmake=\x01\n[Settings]\nBEEP_MODE=1\n",
         "1 settings", "04=01"},
        {"oversize", "[Settings]\nBEEP_MODE=0\n" + std::string(1 << 20, ';'), "larger than 1 MiB", ""},
        {"a long value, not echoed in full", "[Settings]\nPIR_SENSITIVITY=" + std::string(9999, 'x'),
         "\"" + std::string(32, 'x') + "...\" is not one of its choices", ""},
    };
    for (const auto& c : cases) {
        fs::remove(dir / "cam.json.log");
        plant("cam.json", "{}");
        std::ofstream(dir / "p.ini", std::ios::binary) << c.profile;
        const CliRun check = cli({"check", (dir / "p.ini").string()}, "");
        EXPECT_NE((check.out + check.err).find(c.checkSays), std::string::npos)
            << c.what << ": " << check.out;
        EXPECT_EQ(check.code, *c.registers ? 0 : 1) << c.what;
        const CliRun apply = cli({"apply", (dir / "p.ini").string(), "--include-identity"}, "cam.json");
        EXPECT_EQ(apply.code, *c.registers ? 0 : 1) << c.what << ": " << apply.err << apply.out;
        std::map<int, int> wanted;
        for (std::istringstream pairs(c.registers); pairs.good() && *c.registers;) {
            std::string pair;
            pairs >> pair;
            wanted[std::stoi(pair.substr(0, 2), nullptr, 16)] = std::stoi(pair.substr(3), nullptr, 16);
        }
        std::vector<int> codes;
        for (const auto& [code, value] : wanted)
            codes.push_back(code);
        EXPECT_EQ(registers("cam.json", codes), wanted) << c.what;
        EXPECT_EQ(fs::exists(dir / "cam.json.log"), *c.registers != 0) << c.what;
    }
}

// apply's exit code and summary cover the bracket, the clock and --no-verify.
// A camera that fails every write is given up after three, not waited on for each setting.
TEST_F(ProfileTest, ExitCodesAndSummariesCoverEverythingApplyDoes) {
    std::ofstream(dir / "p.ini")
        << "[Settings]\nBEEP_MODE=0\nTV_MODE=1\nPIR_SENSITIVITY=Low\nDATE_STAMP_MODE=0\n";
    const struct {
        const char* faults;
        std::vector<std::string> options;
        int exit;
        const char* summary; // verified, written, mismatch, failed, unsupported
        std::size_t sent;    // register writes and flash-save commands
    } cases[] = {{"[]", {"--no-verify"}, 0, "0 4 0 0 0", 6},
                 {R"(["QZSSVFL"])", {}, 2, "4 0 0 0 0", 6},
                 {R"(["clock-write"])", {"--set-clock", "now"}, 2, "4 0 0 0 0", 6},
                 {R"(["QZSETDB"])", {}, 2, "0 0 0 4 0", 4}};
    for (const auto& c : cases) {
        plant("cam.json", std::string(R"({"faults": {"fail": )") + c.faults + "}}");
        std::vector<std::string> args{"apply", (dir / "p.ini").string()};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = cli(args, "cam.json");
        EXPECT_EQ(run.code, c.exit) << c.faults << ": " << run.err << run.out;
        std::string summary;
        const auto report = nlohmann::ordered_json::parse(run.out);
        for (const auto& [key, count] : report["summary"].items())
            summary += (summary.empty() ? "" : " ") + count.dump();
        EXPECT_EQ(summary, c.summary) << c.faults;
        EXPECT_EQ(log("cam.json").size(), c.sent) << c.faults;
        fs::remove(dir / "cam.json.log");
    }
}

// Many cameras: a command is never given a camera the user did not name.
TEST_F(ProfileTest, ACommandOnManyCamerasNamesItsCameraOrTakesThemAll) {
    fs::create_directories(dir / "fleet");
    for (const char* name : {"a", "b"})
        plant(std::string("fleet/") + name + ".json", "{}");
    std::ofstream(dir / "p.ini") << "[Settings]\nBEEP_MODE=0\n";
    const std::string profile = (dir / "p.ini").string(), out = (dir / "out").string();
    const struct {
        std::vector<std::string> args;
        int exit;
        const char* says; // part of stderr
    } cases[] = {
        {{"read", "1"}, 1, "2 cameras are connected (a, b): name one with --device NAME"},
        {{"apply", profile}, 1, "2 cameras are connected (a, b)"},
        {{"read", "1", "--device="}, 1, "--device needs the name of a camera"},
        {{"dump", "--all", "--device", "a", "--output", out}, 1, "--all takes every camera and --device one"},
        {{"apply", profile, "--all", "--device=b"}, 1, "--all takes every camera"},
        {{"set-clock", "now", "--all", "--device", "a"}, 1, "--all takes every camera"},
        {{"dump", "--all", "--json", "--output", (dir / "fleet").string()},
         1,
         "a.json is not an earlier profile of camera a"},
        {{"read", "1", "--device", "b"}, 0, ""},
        {{"dump", "--all", "--output", out}, 0, "camera b: done"},
        {{"dump", "--all", "--output", out}, 0, "camera b: done"}, // its own earlier profiles are replaced
    };
    const std::string fleetA = readText(dir / "fleet/a.json");
    for (const auto& c : cases) {
        const CliRun run = cli(c.args, "fleet/");
        EXPECT_EQ(run.code, c.exit) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
    EXPECT_EQ(readText(dir / "fleet/a.json").substr(0, fleetA.size()), fleetA); // the state file, untouched
    EXPECT_TRUE(fs::exists(dir / "out/b.ini"));
#ifndef _WIN32
    // A camera's name made a file name on every system: the drive name E: is none on Windows.
    fs::create_directories(dir / "drives");
    plant("drives/E:.json", "{}");
    EXPECT_EQ(cli({"dump", "--all", "--output", out}, "drives/").code, 0);
    EXPECT_TRUE(fs::exists(dir / "out/E_.ini"));
#endif
}

// dump --output writes the whole profile or leaves the file as it was, and says why.
TEST_F(ProfileTest, DumpOutputIsWholeOrNothing) {
    const std::string kept = (dir / "kept.ini").string();
    std::ofstream(kept, std::ios::binary) << "; an earlier profile\n";
    const CliRun refused = cli({"dump", "--output", (dir / "kept.ini/p.ini").string()}, "cam.json");
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("cannot write "), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("p.ini: "), std::string::npos) << "the system's reason: " << refused.err;
    EXPECT_EQ(readText(kept), "; an earlier profile\n");
    EXPECT_EQ(cli({"dump", "--output", kept}, "cam.json").code, 0);
    EXPECT_EQ(readText(kept).substr(0, 27), "; Trelvik settings profile.");
}

// Random register contents, text bytes 0x00-0xFF included: dump, check, apply to a second
// camera and dump again give the same registers byte for byte and the same profile.
// TRELVIK_ROUND_TRIPS and TRELVIK_ROUND_TRIP_SEED run more of them, or others.
TEST_F(ProfileTest, RandomCamerasSurviveDumpCheckApplyDump) {
    const char* count = std::getenv("TRELVIK_ROUND_TRIPS");
    const char* seed = std::getenv("TRELVIK_ROUND_TRIP_SEED");
    std::mt19937 random(seed ? static_cast<unsigned>(std::stoul(seed)) : 19u);
    const trelvik::testing::ProfileTable table(TRELVIK_DATA_DIR "/mass_cmd.ini");
    const int trips = count ? std::stoi(count) : 25;
    int identical = 0;
    for (int trip = 0; trip < trips; ++trip) {
        const std::map<int, int> wanted = table.randomRegisters(random);
        json planted = {{"registers", json::object()}};
        std::vector<int> codes;
        for (const auto& [code, value] : wanted) {
            char key[8];
            std::snprintf(key, sizeof key, "0x%02X", code);
            planted["registers"][key] = value;
            codes.push_back(code);
        }
        for (const char* camera : {"ref.json", "cam.json", "cam.json.log"})
            fs::remove(dir / camera);
        plant("ref.json", planted.dump());
        const std::string profile = (dir / "trip.ini").string();
        ASSERT_EQ(cli({"dump", "--output", profile}, "ref.json").code, 0);
        const CliRun check = cli({"check", profile}, "");
        const CliRun apply = cli({"apply", profile, "--include-identity"}, "cam.json");
        const CliRun again = cli({"dump"}, "cam.json");
        EXPECT_EQ(check.code, 0) << check.out;
        EXPECT_EQ(apply.code, 0) << apply.out;
        EXPECT_EQ(registers("cam.json", codes), wanted) << "trip " << trip;
        EXPECT_EQ(settingsOf(again.out), settingsOf(readText(profile))) << "trip " << trip;
        identical +=
            registers("cam.json", codes) == wanted && settingsOf(again.out) == settingsOf(readText(profile));
    }
    std::printf("%d of %d random round trips byte-identical\n", identical, trips);
}

} // namespace
