// SPDX-License-Identifier: MIT
// Settings profiles with the built trelvik-cli on simulated cameras kept in state files: a
// reference camera dumped, its profile edited, checked and applied to another camera.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/CliRun.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using trelvik::testing::CliRun;
using trelvik::testing::readLines;
using trelvik::testing::readText;

class ProfileTest : public ::testing::Test {
protected:
    CliRun cli(std::vector<std::string> args, const std::string& camera) {
        args.push_back("--table=" TRELVIK_DATA_DIR "/mass_cmd.ini");
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
              json({{"verified", 77}, {"mismatch", 0}, {"failed", 0}, {"unsupported", 0}}));
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
// the report and the exit code say which one fell short.
TEST_F(ProfileTest, ApplyToEveryCameraOfAFolderReportsEachCamera) {
    fs::create_directories(dir / "fleet");
    for (const char* name : {"a", "b", "c"})
        plant(std::string("fleet/") + name + ".json",
              name == std::string("b") ? R"({"faults": {"unplug_after": 5}})" : "{}");
    std::ofstream(dir / "p.ini")
        << "[Settings]\nBEEP_MODE=0\nTV_MODE=1\nPIR_SENSITIVITY=Low\nHC_PIR_INTERVAL=5 min\n";
    const CliRun run = cli({"apply", (dir / "p.ini").string(), "--all"}, "fleet/");
    EXPECT_EQ(run.code, 2) << run.err;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["summary"], json({{"cameras", 3}, {"ok", 2}, {"failed", 1}}));
    std::vector<std::string> cameras;
    for (const json& camera : report["cameras"])
        cameras.push_back(camera["device"].get<std::string>() + " " + camera["summary"]["verified"].dump());
    EXPECT_EQ(cameras, (std::vector<std::string>{"a 4", "b 0", "c 4"}));
    EXPECT_NE(run.err.find("camera b: fell short"), std::string::npos) << run.err;
    // Each camera's own log: the bracket and the writes in order.
    EXPECT_EQ(log("fleet/c.json"), (std::vector<std::string>{"QZSSVFL 00", "W04=00", "W05=01", "W3E=00",
                                                             "W42=2C", "W43=01", "QZSSVFL 01"}));
}

// A register the camera does not know: the row says so and the exit code is 3, not 2.
TEST_F(ProfileTest, ASettingTheCameraDoesNotKnowIsReportedAsUnsupported) {
    plant("cam.json", R"({"unsupported": ["0x05"]})");
    std::ofstream(dir / "p.ini") << "[Settings]\nBEEP_MODE=0\nTV_MODE=1\n";
    const CliRun run = cli({"apply", (dir / "p.ini").string()}, "cam.json");
    EXPECT_EQ(run.code, 3) << run.out;
    const json report = json::parse(run.out);
    EXPECT_EQ(report["settings"][1]["status"], "unsupported");
    EXPECT_EQ(report["summary"], json({{"verified", 1}, {"mismatch", 0}, {"failed", 0}, {"unsupported", 1}}));
}

} // namespace
