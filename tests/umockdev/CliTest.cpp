// SPDX-License-Identifier: MIT
// trelvik-cli without --simulate, as a user runs it on a machine with the camera plugged in:
// the built executable finds the mock camera through libudev and talks SG_IO to its sg node,
// which this process answers from the firmware model.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/CaseName.h"
#include "support/CliRun.h"
#include "support/umockdev/MockDevices.h"

namespace {

using trelvik::testing::MockDevices;

struct CliCase {
    const char* name;
    std::vector<std::string> descriptions;
    std::vector<std::string> args;
    int exit;
    std::string out;                   // exact, or as JSON when it starts with [ or {
    std::vector<std::string> requests; // sg node, CDB, direction, length, timeout in ms[, data out]
};

void PrintTo(const CliCase& c, std::ostream* out) {
    *out << c.name;
}

class UmockdevCli : public ::testing::TestWithParam<CliCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(MockDevices::preloaded()) << "run under umockdev-wrapper";
        // A frozen clock, so "clock" prints a known time.
        devices.updateCamera([](trelvik::sim::CameraState& state) {
            state.clock = std::array<std::uint8_t, 6>{24, 5, 17, 8, 30, 0};
            state.media = {68, 0, 2, 0};
        });
        std::ofstream(ids) << "[APP]\nTitle=x\nUsbVendorId=0781\nUsbDiskProductId=5567\n";
    }
    trelvik::testing::CliRun cli(const std::vector<std::string>& args) {
        return trelvik::testing::runProgram(TRELVIK_CLI, args, scratch.path());
    }
    MockDevices devices;
    trelvik::testing::TempDir scratch{"trelvik-umockdev-cli"};
    std::filesystem::path ids = scratch.path() / "mass_cmd.ini";
};

TEST_P(UmockdevCli, CommandReachesTheCameraWithItsExactCdb) {
    const CliCase& c = GetParam();
    std::vector<std::string> args = c.args;
    for (std::string& arg : args) {
        if (arg != "--ids-from=IDS") continue;
        arg = "--ids-from=" + ids.string();
        // The command file names the stick's ids: the stick answers as the camera now.
        devices.setCameraIds({{0x0781, 0x5567, 0x5568}});
    }
    for (const std::string& name : c.descriptions)
        ASSERT_TRUE(devices.plug(name)) << devices.error();
    const trelvik::testing::CliRun run = cli(args);
    EXPECT_EQ(run.code, c.exit) << run.err;
    if (!c.out.empty() && (c.out[0] == '[' || c.out[0] == '{'))
        EXPECT_EQ(nlohmann::json::parse(run.out, nullptr, false), nlohmann::json::parse(c.out)) << run.out;
    else
        EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(devices.requestLines(), c.requests);
}

const std::vector<std::string> kCamera{"internal-disk", "camera", "optical"};

INSTANTIATE_TEST_SUITE_P(
    Commands, UmockdevCli,
    ::testing::Values(
        CliCase{
            "devices", kCamera, {"devices"}, 0, R"([{"name": "sdb", "disk": 1, "path": "/dev/sg1"}])", {}},
        CliCase{"noCamera", {"internal-disk", "usb-stick"}, {"devices"}, 4, "[]\n", {}},
        CliCase{"devicesByAppIds",
                {"camera", "usb-stick"},
                {"devices", "--ids-from=IDS"},
                0,
                R"([{"name": "sdg", "disk": 3, "path": "/dev/sg3"}])",
                {}},
        CliCase{"readByAppIds",
                {"camera", "usb-stick"},
                {"read", "0x01", "--ids-from=IDS"},
                0,
                "0x02\n",
                {"sg3 FC0B515A474554444201000000000000 in 16 4000"}},
        CliCase{"read",
                kCamera,
                {"read", "0x01"},
                0,
                "0x02\n",
                {"sg1 FC0B515A474554444201000000000000 in 16 4000"}},
        CliCase{"write",
                kCamera,
                {"write", "0x41", "2"},
                0,
                "",
                {"sg1 FC0B515A534554444241020000000000 in 16 4000"}},
        CliCase{"notSupported",
                kCamera,
                {"read", "0x25"},
                3,
                "",
                {"sg1 FC0B515A474554444225000000000000 in 16 4000"}},
        CliCase{"info",
                kCamera,
                {"info"},
                0,
                R"({"version": "V1.02", "model": "TRELVIK SIMCAM TC-20", "make": "Trelvik Outdoor"})",
                {"sg1 FC08515A474554565300000000000000 in 16 4000",
                 "sg1 FC20515A4745544D4400000000000000 in 35 4000",
                 "sg1 FC07515A4745544D4B00000000000000 in 35 4000"}},
        CliCase{"clock", kCamera, {"clock"}, 0, "2024-05-17T08:30:00\n", {"sg1 FE0000000000 in 8 60000"}},
        CliCase{"setClock",
                kCamera,
                {"set-clock", "2031-12-31T23:59:59"},
                0,
                "",
                {"sg1 FF0000000000 out 8 60000 515A1F0C1F173B3B"}},
        CliCase{"media",
                kCamera,
                {"media"},
                0,
                R"({"status": [68, 0, 2, 0], "media": [
                    {"slot": 0, "name": "Memory Card", "protected": true, "inserted": true},
                    {"slot": 2, "name": "Built-in NAND Flash", "protected": false, "inserted": true}]})",
                {"sg1 FC08515A474554434100000000000000 in 16 10000"}},
        CliCase{"format",
                kCamera,
                {"format", "2", "--yes"},
                0,
                "",
                {"sg1 FC08515A464D54434102000000000000 in 16 100000"}},
        CliCase{"formatProtectedCard",
                kCamera,
                {"format", "0", "--yes"},
                2,
                "",
                {"sg1 FC08515A464D54434100000000000000 in 16 100000"}},
        // The probe asks every removable and optical drive in turn; the others refuse the opcode.
        CliCase{"probeFindsNoCamera",
                {"internal-disk", "usb-stick", "optical"},
                {"probe-read", "0x01"},
                4,
                "",
                {"sg3 FC0B515A474554444201000000000000 in 16 4000",
                 "sg2 FC0B515A474554444201000000000000 in 16 4000"}},
        CliCase{"probeStopsAtTheCamera",
                {"usb-stick", "camera"},
                {"probe-read", "0x01"},
                0,
                "0x02\n",
                {"sg1 FC0B515A474554444201000000000000 in 16 4000"}}),
    trelvik::testing::namedCases());

// The switch to PC-camera mode: the camera acknowledges, leaves as a disk and comes back as a
// capture device, after which the tool finds no camera to talk to.
TEST(UmockdevCliPcCam, TheDiskLeavesAfterTheAcknowledgement) {
    ASSERT_TRUE(MockDevices::preloaded()) << "run under umockdev-wrapper";
    MockDevices devices;
    ASSERT_TRUE(devices.plug("camera")) << devices.error();
    trelvik::testing::TempDir scratch{"trelvik-umockdev-cli"};
    EXPECT_EQ(trelvik::testing::runProgram(TRELVIK_CLI, {"pccam"}, scratch.path()).code, 0);
    EXPECT_EQ(devices.requestLines(),
              std::vector<std::string>{"sg1 FC08515A4348414E4702000000000000 in 16 4000"});
    ASSERT_TRUE(devices.takeModeSwitch());
    devices.switchPersonality("camera", "camera-pccam");
    const auto run = trelvik::testing::runProgram(TRELVIK_CLI, {"devices"}, scratch.path());
    EXPECT_EQ(run.code, 4);
    EXPECT_EQ(run.out, "[]\n");
}

// The camera is pulled out while the command waits for its answer: the command fails as a
// camera failure, and the next one finds no camera.
TEST(UmockdevCliUnplug, CameraPulledOutDuringARead) {
    ASSERT_TRUE(MockDevices::preloaded()) << "run under umockdev-wrapper";
    MockDevices devices;
    ASSERT_TRUE(devices.plug("camera")) << devices.error();
    trelvik::testing::SgIoFault pulled;
    pulled.command = "QZGETDB";
    pulled.hold = true;
    pulled.hostStatus = 0x01; // DID_NO_CONNECT
    devices.addFault(pulled);
    trelvik::testing::TempDir scratch{"trelvik-umockdev-cli"};
    auto reading = std::async(std::launch::async, [&] {
        return trelvik::testing::runProgram(TRELVIK_CLI, {"read", "0x01"}, scratch.path());
    });
    ASSERT_TRUE(devices.waitUntilHeld());
    devices.unplug("camera");
    devices.release();
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const auto read = reading.get();
    EXPECT_EQ(read.code, 2);
    EXPECT_EQ(read.out, "");
    EXPECT_EQ(read.err, "trelvik-cli: register 0x01 read failed\n");
    trelvik::testing::TempDir again{"trelvik-umockdev-cli"};
    EXPECT_EQ(trelvik::testing::runProgram(TRELVIK_CLI, {"read", "0x01"}, again.path()).code, 4);
}

} // namespace
