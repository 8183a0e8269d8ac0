// SPDX-License-Identifier: MIT
// The SG_IO carrier on a mock sg node that answers from the camera's firmware model: what the
// kernel hands back (host and driver bytes, sense, residue, errno) and what the carrier makes
// of it.
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <future>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "link/CameraConnection.h"
#include "link/VendorCommands.h"
#include "platform/linux/SgIoDisk.h"
#include "platform/linux/UdevDiskSystem.h"
#include "support/ByteText.h"
#include "support/CaseName.h"
#include "support/umockdev/MockDevices.h"

namespace trelvik::platform {
namespace {

using namespace std::chrono_literals;
using testing::MockDevices;
using testing::SgIoFault;

// FC 0B "QZGETDB" 01: read register 0x01, whose factory value is 0x02.
const std::array<std::uint8_t, 16> kReadRegister1{0xFC, 0x0B, 'Q', 'Z', 'G', 'E', 'T', 'D', 'B', 0x01};

class UmockdevSgIo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(MockDevices::preloaded()) << "run under umockdev-wrapper";
        ASSERT_TRUE(devices.plug("camera")) << devices.error();
        ASSERT_TRUE(devices.plug("usb-stick")) << devices.error();
    }
    MockDevices devices;
};

struct CarrierCase {
    const char* name;
    const char* node;
    SgIoFault fault; // command "" = none planted
    bool completed;
    std::string reply; // the 16 bytes the host's buffer holds afterwards, hex
    std::vector<std::string> debug;
};

void PrintTo(const CarrierCase& c, std::ostream* out) {
    *out << c.name;
}

const std::string kAnswer = testing::hexBytes(testing::signedReply(8, "DBUGRD", {0x01, 0x02}));
const std::string kUntouched = "EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE EE";

class UmockdevCarrier : public UmockdevSgIo, public ::testing::WithParamInterface<CarrierCase> {};

TEST_P(UmockdevCarrier, VerdictFollowsTheHostAndDriverBytesOnly) {
    const CarrierCase& c = GetParam();
    if (!c.fault.command.empty()) devices.addFault(c.fault);
    int error = -1;
    const auto disk = openSgIoDisk(c.node, error);
    ASSERT_NE(disk, nullptr) << error;
    std::array<std::uint8_t, 16> data;
    data.fill(0xEE);
    debuglog::DebugCapture debug;
    EXPECT_EQ(disk->send({kReadRegister1, Direction::In, data, 4s, false}), c.completed);
    EXPECT_EQ(testing::hexBytes(data), c.reply);
    EXPECT_EQ(debug.lines(), c.debug);
    EXPECT_EQ(devices.requestLines(),
              std::vector<std::string>{std::string(c.node).substr(5) +
                                       " FC0B515A474554444201000000000000 in 16 4000"});
}

SgIoFault fault(std::string command, void (*plant)(SgIoFault&)) {
    SgIoFault f;
    f.command = std::move(command);
    plant(f);
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UmockdevCarrier,
    ::testing::Values(CarrierCase{"answered", "/dev/sg1", {}, true, kAnswer, {}},
                      // The SCSI status is logged, not judged, as on Windows.
                      CarrierCase{"checkConditionWithSense",
                                  "/dev/sg1",
                                  fault("QZGETDB", [](SgIoFault& f) { f.checkCondition = true; }),
                                  true,
                                  kAnswer,
                                  {"QZ::SG_IO status=02 sense=5/24/00"}},
                      CarrierCase{"plainDiskRefusesTheOpcode",
                                  "/dev/sg3",
                                  {},
                                  true,
                                  kUntouched,
                                  {"QZ::SG_IO status=02 sense=5/20/00",
                                   "QZ::SG_IO short transfer: 16 of 16 bytes not sent"}},
                      CarrierCase{"timedOut",
                                  "/dev/sg1",
                                  fault("QZGETDB", [](SgIoFault& f) { f.hostStatus = 3; }),
                                  false,
                                  kUntouched,
                                  {"QZ::SG_IO not completed: host=03 driver=00"}},
                      CarrierCase{"oldKernelsDriverTimeout",
                                  "/dev/sg1",
                                  fault("QZGETDB", [](SgIoFault& f) { f.driverStatus = 0x06; }),
                                  false,
                                  kAnswer,
                                  {"QZ::SG_IO not completed: host=00 driver=06"}},
                      CarrierCase{"ioctlFails",
                                  "/dev/sg1",
                                  fault("QZGETDB", [](SgIoFault& f) { f.errnoValue = EIO; }),
                                  false,
                                  kUntouched,
                                  {"QZ::SG_IO failed: Input/output error"}},
                      // A short transfer completes; what the device did not send stays as it was.
                      CarrierCase{"shortTransfer",
                                  "/dev/sg1",
                                  fault("QZGETDB", [](SgIoFault& f) { f.resid = 6; }),
                                  true,
                                  "51 5A 08 44 42 55 47 52 44 01 EE EE EE EE EE EE",
                                  {"QZ::SG_IO short transfer: 6 of 16 bytes not sent"}}),
    testing::namedCases());

// What each operation sends, down to the timeout in milliseconds the kernel receives.
TEST_F(UmockdevSgIo, EveryOperationCarriesItsCdbAndTimeout) {
    int error = -1;
    const auto disk = openSgIoDisk("/dev/sg1", error);
    ASSERT_NE(disk, nullptr) << error;
    std::uint8_t value = 0;
    std::string version;
    std::array<std::uint8_t, 4> media{};
    std::tm clock{};
    clock.tm_year = 124, clock.tm_mon = 4, clock.tm_mday = 17, clock.tm_hour = 8, clock.tm_min = 30;
    char model[33] = {};
    using link::Status;
    const std::vector<Status> results{
        link::ReadRegister(*disk, 0x25, value), // not supported: "NS"
        link::WriteRegister(*disk, 0x41, 0x07), link::ReadVersionString(*disk, version),
        link::ReadCardStatus(*disk, media),     link::WriteCameraClock(*disk, clock),
        link::ReadCameraClock(*disk, clock),    link::ReadModelId(*disk, model, sizeof model),
        link::SetFlashSave(*disk, 0),           link::FormatCard(*disk, 0),
    };
    EXPECT_EQ(results, (std::vector<Status>{Status::NotSupported, Status::Ok, Status::Ok, Status::Ok,
                                            Status::Ok, Status::Ok, Status::Ok, Status::Ok, Status::Ok}));
    EXPECT_EQ(devices.requestLines(), (std::vector<std::string>{
                                          "sg1 FC0B515A474554444225000000000000 in 16 4000",
                                          "sg1 FC0B515A534554444241070000000000 in 16 4000",
                                          "sg1 FC08515A474554565300000000000000 in 16 4000",
                                          "sg1 FC08515A474554434100000000000000 in 16 10000",
                                          "sg1 FF0000000000 out 8 60000 515A180511081E00",
                                          "sg1 FE0000000000 in 8 60000",
                                          "sg1 FC20515A4745544D4400000000000000 in 35 4000",
                                          "sg1 FC08515A535356464C00000000000000 in 16 100000",
                                          "sg1 FC08515A464D54434100000000000000 in 16 100000",
                                      }));
    EXPECT_EQ(version, "V1.02");
    EXPECT_EQ(devices.camera().registers[0x41], 0x07);
    EXPECT_EQ(devices.camera().flashSave, 0);
}

// The camera is pulled out while a request waits for its answer: the request fails, so does
// every later one on the handle, the node is gone for a new open, and nothing hangs.
TEST_F(UmockdevSgIo, CameraRemovedInTheMiddleOfARequestFailsCleanly) {
    UdevDiskSystem system;
    link::CameraConnection connection(system, link::kDefaultCameraIds);
    ASSERT_TRUE(connection.open());
    SgIoFault unplugged;
    unplugged.command = "QZGETDB";
    unplugged.hold = true;
    unplugged.hostStatus = 0x01; // DID_NO_CONNECT, what usb-storage gives a disconnected device
    devices.addFault(unplugged);
    auto reading = std::async(std::launch::async, [&] { return connection.readRegister(0x01); });
    ASSERT_TRUE(devices.waitUntilHeld());
    devices.unplug("camera");
    devices.release();
    ASSERT_EQ(reading.wait_for(5s), std::future_status::ready);
    const auto first = reading.get();
    ASSERT_FALSE(first.ok());
    EXPECT_EQ(first.error().kind, link::ConnectionError::Kind::CameraFailed) << first.error().text;

    const auto again = connection.writeRegister(0x41, 1);
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error().kind, link::ConnectionError::Kind::CameraFailed) << again.error().text;
    connection.close();
    const auto reopened = connection.open();
    ASSERT_FALSE(reopened.ok());
    EXPECT_EQ(reopened.error().kind, link::ConnectionError::Kind::NoCamera) << reopened.error().text;
    int error = 0;
    EXPECT_EQ(openSgIoDisk("/dev/sg1", error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

} // namespace
} // namespace trelvik::platform
