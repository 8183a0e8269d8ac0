// SPDX-License-Identifier: MIT
// The host's command builders against the simulated firmware: both ends of the wire agree.
#include <gtest/gtest.h>

#include "SimCameraSupport.h"
#include "link/Discovery.h"
#include "link/VendorCommands.h"
#include "support/CalendarTime.h"

namespace trelvik::simtest {
namespace {

class SimWithHostCommandsTest : public ::testing::Test {
protected:
    SimWithHostCommandsTest() {
        sim::CameraState state = sim::factoryState();
        state.unsupported.insert(0x4E);
        system = std::make_unique<sim::SimDiskSystem>(state);
        disk = openCamera(*system);
    }
    std::unique_ptr<sim::SimDiskSystem> system;
    std::unique_ptr<platform::Disk> disk;
};

TEST_F(SimWithHostCommandsTest, RegisterReadsAndWritesAgree) {
    std::uint8_t value = 0;
    EXPECT_EQ(link::WriteRegister(*disk, 0x90, 0xC8), link::Status::Ok);
    EXPECT_EQ(link::ReadRegister(*disk, 0x90, value), link::Status::Ok);
    EXPECT_EQ(value, 0xC8);
    EXPECT_EQ(link::ReadRegister(*disk, 0x25, value), link::Status::NotSupported);
    // "NS" in the echo position of code 0x4E ('N') reads as the value 'S'.
    EXPECT_EQ(link::ReadRegister(*disk, 0x4E, value), link::Status::Ok);
    EXPECT_EQ(value, 0x53);
}

TEST_F(SimWithHostCommandsTest, IdentityCardAndFlashSave) {
    std::string version;
    EXPECT_EQ(link::ReadVersionString(*disk, version), link::Status::Ok);
    EXPECT_EQ(version, "V1.02");
    char model[33];
    EXPECT_EQ(link::ReadModelId(*disk, model, sizeof model), link::Status::Ok);
    EXPECT_STREQ(model, "TRELVIK SIMCAM TC-20");
    std::array<std::uint8_t, 4> status{};
    EXPECT_EQ(link::ReadCardStatus(*disk, status), link::Status::Ok);
    EXPECT_EQ(status, (std::array<std::uint8_t, 4>{4, 0, 0, 0}));
    EXPECT_EQ(link::FormatCard(*disk, 0), link::Status::Ok);
    EXPECT_EQ(link::FormatCard(*disk, 5), link::Status::Failed);
    EXPECT_EQ(link::SetFlashSave(*disk, 0), link::Status::Ok);
    EXPECT_EQ(system->state()->flashSave, 0);
}

TEST_F(SimWithHostCommandsTest, ClockWrittenIsReadBack) {
    std::tm written = trelvik::testing::calendarTime(2099, 12, 31, 23, 59, 59);
    system->update([](sim::CameraState& s) { s.clock = std::array<std::uint8_t, 6>{}; });
    EXPECT_EQ(link::WriteCameraClock(*disk, written), link::Status::Ok);
    std::tm read{};
    EXPECT_EQ(link::ReadCameraClock(*disk, read), link::Status::Ok);
    EXPECT_EQ(read.tm_year, 199);
    EXPECT_EQ(read.tm_mon, 11);
    EXPECT_EQ(read.tm_sec, 59);
}

TEST_F(SimWithHostCommandsTest, DiscoveryFindsTheCameraAndPcCamModeHidesIt) {
    std::vector<platform::DriveEntry> found;
    EXPECT_EQ(link::FindCameraDisk(*system, 0x2E7A, 0x0101, &found), 1);
    EXPECT_EQ(found.at(0).name, "simcam");
    EXPECT_EQ(found.at(0).diskNumber, 0);
    std::uint8_t value = 0;
    std::string drive;
    int number = -1;
    EXPECT_EQ(link::ScanAndReadRegister(*system, 0x01, &value, &drive, &number), link::Status::Ok);
    EXPECT_EQ(value, 0x02);
    EXPECT_EQ(link::ChangeToPcCam(*disk), link::Status::Ok);
    EXPECT_EQ(link::FindCameraDisk(*system, 0x2E7A, 0x0101, &found), 0);
    EXPECT_TRUE(found.empty());
}

} // namespace
} // namespace trelvik::simtest
