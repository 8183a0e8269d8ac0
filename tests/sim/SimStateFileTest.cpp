// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "SimCameraSupport.h"
#include "platform/PlainFile.h"
#include "sim/SimulatedCamera.h"
#include "sim/StateJson.h"
#include "support/CaseName.h"

namespace trelvik::simtest {
namespace {

using nlohmann::json;

class SimStateFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path state = dir / "cam.json";
    std::filesystem::path log = dir / "cam.json.log";

    std::unique_ptr<sim::SimDiskSystem> camera() {
        std::string error;
        auto system = sim::openSimulatedCamera(state.string(), error);
        EXPECT_TRUE(system) << error;
        return system;
    }
    json stateJson() const { return json::parse(readText(state)); }
};

TEST_F(SimStateFileTest, MissingFileIsCreatedWithFactoryDefaults) {
    auto system = camera();
    ASSERT_TRUE(std::filesystem::exists(state));
    const json j = stateJson();
    EXPECT_EQ(j["plugged"], true);
    EXPECT_EQ(j["mode"], "disk");
    EXPECT_EQ(j["registers"]["0x01"], 2);
    EXPECT_EQ(j["registers"].size(), 0x69u);
    EXPECT_EQ(j["defaults"], j["registers"]);
    EXPECT_EQ(j["unsupported"], json({"0x24", "0x25", "0x26"}));
    EXPECT_TRUE(j["clock"].is_null());
    EXPECT_EQ(j["clock_offset_s"], 0);
    EXPECT_EQ(j["version"], "V1.02");
    EXPECT_EQ(j["media"], json({4, 0, 0, 0}));
    EXPECT_EQ(j["faults"], json::parse(R"({"latency_ms":0,"fail":[],"wrong_echo":[],"unplug_after":0})"));
}

TEST_F(SimStateFileTest, EmptyFileStartsFresh) {
    writeText(state, "");
    auto system = camera();
    EXPECT_EQ(stateJson()["version"], "V1.02");
}

TEST_F(SimStateFileTest, ChangeMadeThroughOneCameraIsSeenByAnother) {
    auto writer = camera();
    auto reader = camera();
    auto writerDisk = openCamera(*writer);
    ASSERT_TRUE(sendIn(*writerDisk, signedCdb(0x0B, "QZSETDB", 0x41, 0x02), 16).ok);
    EXPECT_EQ(stateJson()["registers"]["0x41"], 2);
    auto readerDisk = openCamera(*reader);
    EXPECT_EQ(sendIn(*readerDisk, signedCdb(0x0B, "QZGETDB", 0x41), 16).reply[10], 0x02);
}

// Finding and opening the camera only look; a command on one camera takes the lock once
// (on Windows looks take it too).
TEST_F(SimStateFileTest, OnlyACommandTakesTheLock) {
    camera();
    const std::filesystem::path lock = dir / "cam.json.lock";
    std::filesystem::remove(lock);
    auto system = camera();
    system->catalog();
    auto disk = openCamera(*system);
    EXPECT_EQ(std::filesystem::exists(lock), platform::kReadsNeedTheWritersLock);
    sendIn(*disk, signedCdb(0x0B, "QZGETDB", 0x41), 16);
    EXPECT_TRUE(std::filesystem::exists(lock));
}

TEST_F(SimStateFileTest, EveryCommandIsLoggedWithItsExactBytes) {
    auto system = camera();
    auto disk = openCamera(*system);
    sendIn(*disk, signedCdb(0x0B, "QZGETDB", 0x4E), 16);
    sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 99, 12, 31, 23, 59, 59});
    sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8, std::chrono::seconds(60));
    EXPECT_EQ(
        readLines(log),
        (std::vector<std::string>{
            R"({"cdb":"FC0B515A47455444424E000000000000","dir":"in","len":16,"ok":true,"timeout_s":4,"lock":false})",
            R"({"cdb":"FF0000000000","dir":"out","len":8,"data":"515A630C1F173B3B","ok":true,"timeout_s":60,"lock":true})",
            R"({"cdb":"FE0000000000","dir":"in","len":8,"ok":true,"timeout_s":60,"lock":false})"}));
}

TEST_F(SimStateFileTest, FailedTransferIsLoggedAsNotOk) {
    writeText(state, R"({"faults": {"fail": ["QZGETCA"]}})");
    auto system = camera();
    auto disk = openCamera(*system);
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETCA"), 16, std::chrono::seconds(10)).ok);
    EXPECT_EQ(
        readLines(log),
        std::vector<std::string>{
            R"({"cdb":"FC08515A474554434100000000000000","dir":"in","len":16,"ok":false,"timeout_s":10,"lock":false})"});
}

TEST_F(SimStateFileTest, UnplugAfterIsWrittenBack) {
    writeText(state, R"({"faults": {"unplug_after": 1}})");
    auto system = camera();
    auto disk = openCamera(*system);
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    const json j = stateJson();
    EXPECT_EQ(j["plugged"], false);
    EXPECT_EQ(j["faults"]["unplug_after"], 0);
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    EXPECT_EQ(readLines(log).size(), 2u);
}

TEST_F(SimStateFileTest, PcCamModeIsWrittenBack) {
    auto system = camera();
    auto disk = openCamera(*system);
    sendIn(*disk, signedCdb(0x08, "QZCHANG", 2), 16);
    EXPECT_EQ(stateJson()["mode"], "pccam");
    EXPECT_TRUE(camera()->drives().empty());
}

struct CorruptCase {
    const char* text;
    const char* mentions;
};

class SimCorruptFileTest : public SimStateFileTest, public ::testing::WithParamInterface<CorruptCase> {};

TEST_P(SimCorruptFileTest, IsReportedAndLeftUntouched) {
    writeText(state, GetParam().text);
    std::string error;
    EXPECT_EQ(sim::openSimulatedCamera(state.string(), error), nullptr);
    EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
    EXPECT_NE(error.find(state.string()), std::string::npos) << error;
    EXPECT_EQ(readText(state), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, SimCorruptFileTest,
    ::testing::Values(CorruptCase{"{\"plugged\": tru", "not valid JSON"}, CorruptCase{"[1, 2]", "object"},
                      CorruptCase{R"({"plugged": "yes"})", "plugged"},
                      CorruptCase{R"({"mode": "usb"})", "mode"},
                      CorruptCase{R"({"registers": {"0x01": 256}})", "registers.0x01"},
                      CorruptCase{R"({"registers": {"1": 2}})", "bad register key"},
                      CorruptCase{R"({"defaults": []})", "defaults"},
                      CorruptCase{R"({"unsupported": ["0x2G"]})", "unsupported[0]"},
                      CorruptCase{R"({"clock": [24, 5, 17]})", "clock"},
                      CorruptCase{R"({"clock_offset_s": 1.5})", "clock_offset_s"},
                      CorruptCase{R"({"media": [4, 0, 0, -1]})", "media[3]"},
                      CorruptCase{R"({"version": 102})", "version"},
                      CorruptCase{R"({"faults": {"fail": "QZGETCA"}})", "faults.fail"},
                      CorruptCase{R"({"faults": {"unplug_after": -1}})", "faults.unplug_after"}),
    testing::caseNames(&CorruptCase::text));

TEST_F(SimStateFileTest, FileSpoiledBetweenCommandsFailsTheTransferAndStaysSpoiled) {
    auto system = camera();
    auto disk = openCamera(*system);
    writeText(state, "garbage");
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    EXPECT_NE(system->error().find("not valid JSON"), std::string::npos);
    EXPECT_EQ(readText(state), "garbage");
    EXPECT_TRUE(system->drives().empty());
}

TEST(SimStateJson, PartialInputKeepsFactoryValuesAndUnknownMembers) {
    sim::CameraState s;
    std::string error;
    ASSERT_TRUE(sim::parseState(
        R"({"registers": {"0x01": 9}, "note": {"by": "test"}, "media": [2, 0, 0, 0]})", s, error))
        << error;
    EXPECT_EQ(s.registers[0x01], 9);
    EXPECT_EQ(s.registers[0x02], 0); // missing from a present map
    EXPECT_EQ(s.defaults, sim::factoryRegisters());
    EXPECT_EQ(s.version, "V1.02");
    const json out = json::parse(sim::formatState(s));
    EXPECT_EQ(out["note"]["by"], "test");
    EXPECT_EQ(out["media"], json({2, 0, 0, 0}));
}

TEST(SimStateJson, MissingRegistersStartAtTheGivenDefaults) {
    sim::CameraState s;
    std::string error;
    ASSERT_TRUE(sim::parseState(R"({"defaults": {"0x05": 1}})", s, error)) << error;
    EXPECT_EQ(s.registers[0x05], 1);
    EXPECT_EQ(s.registers[0x01], 0);
}

TEST(SimStateJson, RoundTripKeepsEveryMember) {
    sim::CameraState s = sim::factoryState();
    s.plugged = false;
    s.mode = sim::CameraMode::PcCam;
    s.registers[0xC3] = 7;
    s.unsupported = {0x10};
    s.clock = std::array<std::uint8_t, 6>{24, 2, 29, 23, 59, 58};
    s.clockOffsetS = -3600;
    s.model = "M";
    s.make = "K";
    s.faults.latencyMs = 12;
    s.faults.fail = {"clock-read"};
    s.faults.wrongEcho = {0x41, 0xFF};
    s.faults.unplugAfter = 3;
    s.flashSave = 0;
    sim::CameraState back;
    std::string error;
    ASSERT_TRUE(sim::parseState(sim::formatState(s), back, error)) << error;
    EXPECT_EQ(sim::formatState(back), sim::formatState(s));
    EXPECT_EQ(back.registers[0xC3], 7);
    EXPECT_EQ(back.faults.wrongEcho, s.faults.wrongEcho);
    EXPECT_NE(sim::formatState(s).find("\"0x41\""), std::string::npos);
}

TEST(SimulatedCameraFactory, WithoutAFileTheCameraLivesInMemory) {
    std::string error;
    auto system = sim::makeSimulatedDiskSystem(std::nullopt, error);
    ASSERT_TRUE(system);
    EXPECT_EQ(system->drives().size(), 1u);
}

} // namespace
} // namespace trelvik::simtest
