// SPDX-License-Identifier: MIT
#include "link/CameraConnection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/CaseName.h"
#include "support/FakeDiskSystem.h"

namespace trelvik::link {
namespace {

using platform::DriveType;
using testing::FakeDiskSystem;
using testing::signedReply;
using Kind = ConnectionError::Kind;

constexpr const char* kPath = "/dev/sg2";
constexpr const char* kHostReason =
    "cannot save the simulated camera's state file /ro/cam.json: Permission denied";

// The camera as drive F:, disk 2, child 0 of its USB device.
void plugCamera(FakeDiskSystem& system) {
    system.addDrive("F:", DriveType::Removable, 2, kPath);
    system.addUsbDevice("USB\\VID_2E7A&PID_0101\\1-2", {2});
}

template <typename T> std::optional<ConnectionError> errorOf(const Result<T>& result) {
    if (result) return std::nullopt;
    return result.error();
}

struct ErrorCase {
    const char* name;
    std::function<void(FakeDiskSystem&)> arrange;
    std::function<std::optional<ConnectionError>(CameraConnection&)> act;
    Kind kind;
    std::string text;
    std::string systemReason = "";
};

class ConnectionErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ConnectionErrorTest, ReportsWhatFailed) {
    const ErrorCase& c = GetParam();
    FakeDiskSystem system;
    c.arrange(system);
    CameraConnection connection(system, kDefaultCameraIds);
    const std::optional<ConnectionError> error = c.act(connection);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, c.kind);
    EXPECT_EQ(error->text, c.text);
    EXPECT_EQ(error->systemReason, c.systemReason);
}

const auto kNothing = [](FakeDiskSystem&) {};
const auto kSilentCamera = [](FakeDiskSystem& system) {
    plugCamera(system);
    system.scripts[kPath]; // opens, answers nothing
};
const auto kHostFailure = [](FakeDiskSystem& system) {
    plugCamera(system);
    system.scripts[kPath];
    system.failure = kHostReason;
};
const auto kAnswering = [](std::vector<std::uint8_t> reply) {
    return [reply](FakeDiskSystem& system) {
        plugCamera(system);
        system.answer(kPath, {reply});
    };
};

INSTANTIATE_TEST_SUITE_P(
    Kinds, ConnectionErrorTest,
    ::testing::Values(
        ErrorCase{"NoCamera", kNothing, [](CameraConnection& c) { return errorOf(c.readRegister(0x01)); },
                  Kind::NoCamera, "no camera found (USB 2E7A:0101)"},
        ErrorCase{"OtherUsbIdsAreNoCamera",
                  [](FakeDiskSystem& system) {
                      system.addDrive("F:", DriveType::Removable, 2, kPath);
                      system.addUsbDevice("USB\\VID_1234&PID_0101\\1-2", {2});
                      system.scripts[kPath];
                  },
                  [](CameraConnection& c) { return errorOf(c.open()); }, Kind::NoCamera,
                  "no camera found (USB 2E7A:0101)"},
        ErrorCase{"OpenRefused",
                  [](FakeDiskSystem& system) {
                      plugCamera(system);
                      system.refuse(kPath, ENOENT);
                  },
                  [](CameraConnection& c) { return errorOf(c.readClock()); }, Kind::OpenFailed,
                  "cannot open /dev/sg2: error 2 (No such file or directory)"},
        ErrorCase{"CameraSilent", kSilentCamera,
                  [](CameraConnection& c) { return errorOf(c.writeRegister(0x41, 1)); }, Kind::CameraFailed,
                  "register 0x41 write failed"},
        ErrorCase{"HostFailedTheWrite", kHostFailure,
                  [](CameraConnection& c) { return errorOf(c.writeRegister(0x41, 1)); }, Kind::CameraFailed,
                  kHostReason, kHostReason},
        ErrorCase{"HostFailedTheClock", kHostFailure,
                  [](CameraConnection& c) { return errorOf(c.readClock()); }, Kind::CameraFailed, kHostReason,
                  kHostReason},
        ErrorCase{"CardStatusRejected", kAnswering(signedReply(8, "CARX")),
                  [](CameraConnection& c) { return errorOf(c.readCardStatus()); }, Kind::CameraFailed,
                  "Fail to query card status!"},
        ErrorCase{"FormatRefused", kAnswering(signedReply(8, "FORMAT", {1, 1})),
                  [](CameraConnection& c) { return errorOf(c.formatCard(1)); }, Kind::CameraFailed,
                  "formatting the medium in slot 1 failed"},
        ErrorCase{"RegisterNotSupported", kAnswering(signedReply(8, "DBUGRD", {'N', 'S'})),
                  [](CameraConnection& c) { return errorOf(c.readRegister(0x25)); }, Kind::NotSupported,
                  "the camera does not support register 0x25"},
        ErrorCase{"ResetNotSupported", kAnswering(signedReply(8, "DBUGWR", {'N', 'S'})),
                  [](CameraConnection& c) { return errorOf(c.reset()); }, Kind::NotSupported,
                  "the camera does not support register 0x00"},
        ErrorCase{"ProbeWithoutAnswer", kSilentCamera,
                  [](CameraConnection& c) { return errorOf(c.probeRead(0x01)); }, Kind::NoCamera,
                  "no drive answered as the camera"},
        ErrorCase{"ProbeHostFailure", kHostFailure,
                  [](CameraConnection& c) { return errorOf(c.probeWrite(0x01, 2)); }, Kind::CameraFailed,
                  kHostReason, kHostReason},
        ErrorCase{"ProbeNotSupported", kAnswering(signedReply(8, "DBUGRD", {'N', 'S'})),
                  [](CameraConnection& c) { return errorOf(c.probeRead(0x24)); }, Kind::NotSupported,
                  "the camera on F: does not support register 0x24"},
        ErrorCase{"ProbeOtherRegister", kAnswering(signedReply(8, "DBUGRD", {0x25, 7})),
                  [](CameraConnection& c) { return errorOf(c.probeRead(0x24)); }, Kind::CameraFailed,
                  "the camera on F: answered for another register than 0x24"},
        ErrorCase{"ProbeWriteWrongEcho", kAnswering(signedReply(8, "DBUGWR", {0x41, 2})),
                  [](CameraConnection& c) { return errorOf(c.probeWrite(0x41, 1)); }, Kind::CameraFailed,
                  "the camera on F: did not echo register 0x41 = 0x01 (rejected or not supported)"}),
    testing::namedCases());

// What a front end needs besides the sentence: the ids, the path and whether rights are missing.
TEST(CameraConnection, ErrorsCarryTheirDetails) {
    FakeDiskSystem empty;
    const CameraIds other{0x1234, 0x0001, 0x0002};
    const auto none = CameraConnection(empty, other).open();
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().ids.vendor, 0x1234);
    EXPECT_EQ(none.error().text, "no camera found (USB 1234:0001)");

    for (const int code : {EACCES, EPERM, ENOENT}) {
        FakeDiskSystem system;
        plugCamera(system);
        system.refuse(kPath, code);
        const auto refused = CameraConnection(system, kDefaultCameraIds).open();
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().path, kPath);
        EXPECT_EQ(refused.error().errorCode, code);
        EXPECT_EQ(refused.error().permissionDenied, code != ENOENT) << code;
    }
}

TEST(CameraConnection, OpensTheFirstCameraDriveOnceForManyOperations) {
    FakeDiskSystem system;
    plugCamera(system);
    system.addDrive("G:", DriveType::Removable, 3, "/dev/sg3");
    system.usbList.front().childDiskNumbers.push_back(3);
    system.answer(kPath, {signedReply(8, "DBUGRD", {0x05, 0x02}), signedReply(8, "DBUGWR", {0x00, 0xFF})});
    CameraConnection connection(system, kDefaultCameraIds);

    EXPECT_EQ(connection.drives().size(), 2u);
    const auto value = connection.readRegister(0x05);
    ASSERT_TRUE(value);
    EXPECT_EQ(*value, 0x02);
    EXPECT_TRUE(connection.reset());
    EXPECT_EQ(system.events, (std::vector<std::string>{"open /dev/sg2", "send /dev/sg2", "send /dev/sg2"}));
    // The reset is 0xFF into register 0x00.
    EXPECT_EQ(system.requests.back().second.cdb[9], 0x00);
    EXPECT_EQ(system.requests.back().second.cdb[10], 0xFF);
}

// The window's connection: nothing is sent while it is not connected, not even a look for the
// camera; and the one rule of the factory reset.
TEST(CameraConnection, AnExplicitConnectionSendsNothingUntilOpened) {
    FakeDiskSystem system;
    plugCamera(system);
    CameraConnection connection(system, kDefaultCameraIds, CameraConnection::Opening::Explicit);
    EXPECT_EQ(errorOf(connection.readRegister(0x05))->kind, Kind::NoCamera);
    EXPECT_EQ(errorOf(connection.reset())->kind, Kind::NoCamera);
    EXPECT_TRUE(system.events.empty());
    EXPECT_TRUE(isFactoryReset(0x00, 0xFF));
    EXPECT_FALSE(isFactoryReset(0x00, 0xFE) || isFactoryReset(0x01, 0xFF));
}

TEST(CameraConnection, PcCameraModeClosesTheDisk) {
    FakeDiskSystem system;
    plugCamera(system);
    system.answer(kPath, {signedReply(6, "CHANGE", {2})});
    CameraConnection connection(system, kDefaultCameraIds);
    ASSERT_TRUE(connection.changeToPcCam());
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(system.events.back(), "close /dev/sg2");
}

TEST(CameraConnection, KeepsAtMostEightDrives) {
    FakeDiskSystem system;
    std::vector<int> children;
    for (int disk = 0; disk < 10; ++disk) {
        system.addDrive("d" + std::to_string(disk), DriveType::Removable, disk,
                        "/dev/sg" + std::to_string(disk));
        children.push_back(disk);
    }
    system.addUsbDevice("USB\\VID_2E7A&PID_0101\\1", children);
    EXPECT_EQ(CameraConnection(system, kDefaultCameraIds).drives().size(), kMaxCameraDrives);
}

} // namespace
} // namespace trelvik::link
