// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "SimCameraSupport.h"
#include "sim/CameraFirmware.h"
#include "sim/SimDiskSystem.h"
#include "support/ByteText.h"
#include "support/CaseName.h"

namespace trelvik::simtest {
namespace {

using testing::hexBytes;
using testing::signedReply;

sim::SimOptions fixedClock() {
    sim::SimOptions options;
    options.clock = [] { return fixedHostTime(); };
    return options;
}

class SimFirmwareTest : public ::testing::Test {
protected:
    explicit SimFirmwareTest(sim::CameraState state = sim::factoryState())
        : system(std::move(state), fixedClock()), disk(openCamera(system)) {}
    sim::SimDiskSystem system;
    std::unique_ptr<platform::Disk> disk;

    std::string ask(std::array<std::uint8_t, 16> cdb, std::size_t length = 16) {
        const Exchange ex = sendIn(*disk, cdb, length);
        EXPECT_TRUE(ex.ok);
        return hexBytes(ex.reply);
    }
};

struct ReplyCase {
    const char* what;
    std::array<std::uint8_t, 16> cdb;
    std::size_t length;
    std::vector<std::uint8_t> reply;
};

class SimReplyTest : public SimFirmwareTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(SimReplyTest, AnswersWithTheExpectedBytes) {
    const ReplyCase& c = GetParam();
    EXPECT_EQ(ask(c.cdb, c.length), hexBytes(c.reply)) << c.what;
}

std::vector<std::uint8_t> identity(const std::string& text) {
    std::vector<std::uint8_t> bytes{'Q', 'Z', 0x20};
    for (std::size_t i = 0; i < 32; ++i)
        bytes.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    FactoryCamera, SimReplyTest,
    ::testing::Values(
        ReplyCase{"register read", signedCdb(0x0B, "QZGETDB", 0x01), 16,
                  signedReply(8, "DBUGRD", {0x01, 0x02})},
        ReplyCase{"password byte", signedCdb(0x0B, "QZGETDB", 0x4F), 16,
                  signedReply(8, "DBUGRD", {0x4F, 0x30})},
        ReplyCase{"code past the map", signedCdb(0x0B, "QZGETDB", 0xC0), 16,
                  signedReply(8, "DBUGRD", {0xC0, 0x00})},
        ReplyCase{"unsupported read", signedCdb(0x0B, "QZGETDB", 0x25), 16,
                  signedReply(8, "DBUGRD", {'N', 'S'})},
        ReplyCase{"unsupported write", signedCdb(0x0B, "QZSETDB", 0x24, 7), 16,
                  signedReply(8, "DBUGWR", {'N', 'S'})},
        ReplyCase{"write echo", signedCdb(0x0B, "QZSETDB", 0x90, 0xC8), 16,
                  signedReply(8, "DBUGWR", {0x90, 0xC8})},
        ReplyCase{"version", signedCdb(0x08, "QZGETVS"), 16, signedReply(5, "V1.02")},
        ReplyCase{"card status", signedCdb(0x08, "QZGETCA"), 16, signedReply(8, "CARD", {0x04, 0, 0, 0})},
        ReplyCase{"model", signedCdb(0x20, "QZGETMD"), 35, identity("TRELVIK SIMCAM TC-20")},
        ReplyCase{"make", signedCdb(0x07, "QZGETMK"), 35, identity("Trelvik Outdoor")},
        ReplyCase{"format slot 0", signedCdb(0x08, "QZFMTCA", 0), 16, signedReply(8, "FORMAT", {0, 0})},
        ReplyCase{"format empty slot 2", signedCdb(0x08, "QZFMTCA", 2), 16, signedReply(8, "FORMAT", {2, 0})},
        ReplyCase{"format slot 4", signedCdb(0x08, "QZFMTCA", 4), 16, signedReply(8, "FORMAT", {4, 1})},
        ReplyCase{"flash save", signedCdb(0x08, "QZSSVFL", 0), 16, signedReply(8, "SSVFLAS", {0})},
        ReplyCase{"short buffer", signedCdb(0x20, "QZGETMD"), 5, {'Q', 'Z', 0x20, 'T', 'R'}},
        ReplyCase{"unknown signature", signedCdb(0x08, "QZHELLO"), 16, std::vector<std::uint8_t>(16, 0)},
        ReplyCase{"not a signed command", {0x12, 0, 0, 0, 36}, 16, std::vector<std::uint8_t>(16, 0)}),
    testing::caseNames(&ReplyCase::what));

TEST_F(SimFirmwareTest, WrittenRegisterIsReadBack) {
    ask(signedCdb(0x0B, "QZSETDB", 0x41, 0x02));
    EXPECT_EQ(ask(signedCdb(0x0B, "QZGETDB", 0x41)), hexBytes(signedReply(8, "DBUGRD", {0x41, 0x02})));
}

TEST_F(SimFirmwareTest, FfIntoRegisterZeroRestoresEveryDefault) {
    ask(signedCdb(0x0B, "QZSETDB", 0x01, 0x07));
    ask(signedCdb(0x0B, "QZSETDB", 0x68, 0x63));
    EXPECT_EQ(ask(signedCdb(0x0B, "QZSETDB", 0x00, 0xFF)), hexBytes(signedReply(8, "DBUGWR", {0x00, 0xFF})));
    const auto state = system.state();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->registers, sim::factoryRegisters());
    EXPECT_EQ(state->registers[0x00], 0x00); // the reset command itself is not kept
}

TEST_F(SimFirmwareTest, OtherValuesInRegisterZeroAreStoredPlainly) {
    ask(signedCdb(0x0B, "QZSETDB", 0x01, 0x07));
    ask(signedCdb(0x0B, "QZSETDB", 0x00, 0xFE));
    EXPECT_EQ(system.state()->registers[0x00], 0xFE);
    EXPECT_EQ(system.state()->registers[0x01], 0x07);
}

TEST_F(SimFirmwareTest, ReplyNeverRunsPastTheRequestedLength) {
    std::array<std::uint8_t, 40> buffer{};
    buffer.fill(0xEE);
    const auto cdb = signedCdb(0x20, "QZGETMD");
    platform::ScsiRequest request;
    request.cdb = cdb;
    request.data = std::span<std::uint8_t>(buffer).subspan(2, 10);
    ASSERT_TRUE(disk->send(request));
    EXPECT_EQ(hexBytes(buffer),
              hexBytes(std::vector<std::uint8_t>{
                  0xEE, 0xEE, 'Q',  'Z',  0x20, 'T',  'R',  'E',  'L',  'V',  'I',  'K',  0xEE, 0xEE,
                  0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                  0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST_F(SimFirmwareTest, FlashSaveFlagIsRemembered) {
    ask(signedCdb(0x08, "QZSSVFL", 0));
    EXPECT_EQ(system.state()->flashSave, 0);
    ask(signedCdb(0x08, "QZSSVFL", 1));
    EXPECT_EQ(system.state()->flashSave, 1);
}

TEST_F(SimFirmwareTest, ClockRunsAtTheHostTimePlusOffset) {
    const Exchange now = sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8);
    ASSERT_TRUE(now.ok);
    EXPECT_EQ(hexBytes(now.reply), hexBytes(std::vector<std::uint8_t>{'Q', 'Z', 24, 5, 17, 8, 30, 0}));

    // Setting the clock one hour and one second ahead keeps it running from there.
    ASSERT_TRUE(sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 24, 5, 17, 9, 30, 1}));
    EXPECT_EQ(system.state()->clockOffsetS, 3601);
    EXPECT_FALSE(system.state()->clock.has_value());
    EXPECT_EQ(hexBytes(sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8).reply),
              hexBytes(std::vector<std::uint8_t>{'Q', 'Z', 24, 5, 17, 9, 30, 1}));
}

TEST_F(SimFirmwareTest, ClockWriteThatIsNoDateFreezesTheBytes) {
    ASSERT_TRUE(sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 24, 13, 40, 25, 61, 99}));
    EXPECT_EQ(hexBytes(sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8).reply),
              hexBytes(std::vector<std::uint8_t>{'Q', 'Z', 24, 13, 40, 25, 61, 99}));
}

TEST_F(SimFirmwareTest, ClockBlockWithoutMagicIsIgnored) {
    ASSERT_TRUE(sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'X', 'Z', 30, 1, 1, 0, 0, 0}));
    EXPECT_EQ(system.state()->clockOffsetS, 0);
}

TEST_F(SimFirmwareTest, PcCamModeTakesTheDiskAway) {
    EXPECT_EQ(ask(signedCdb(0x08, "QZCHANG", 2)), hexBytes(signedReply(6, "CHANGE", {2})));
    EXPECT_TRUE(system.drives().empty());
    const auto devices = system.usbDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].instanceId, "USB\\VID_2E7A&PID_0102\\SIM0001");
    EXPECT_TRUE(devices[0].childDiskNumbers.empty());
    const Exchange after = sendIn(*disk, signedCdb(0x0B, "QZGETDB", 1), 16);
    EXPECT_FALSE(after.ok);
    EXPECT_EQ(hexBytes(after.reply), hexBytes(std::vector<std::uint8_t>(16, 0)));
    int error = 0;
    EXPECT_EQ(system.open(sim::kSimOpenPath, error), nullptr);
    EXPECT_EQ(error, sim::kSimNoSuchDevice);
}

TEST_F(SimFirmwareTest, ChangeWithAnotherArgumentStaysADisk) {
    EXPECT_EQ(ask(signedCdb(0x08, "QZCHANG", 1)), hexBytes(signedReply(6, "CHANGE", {1})));
    EXPECT_EQ(system.drives().size(), 1u);
}

TEST_F(SimFirmwareTest, CatalogShowsOneRemovableDriveUnderTheDiskProductId) {
    const auto drives = system.drives();
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].name, "simcam");
    EXPECT_EQ(drives[0].rootPath, "sim://camera");
    EXPECT_EQ(drives[0].openPath, "sim:camera");
    EXPECT_EQ(drives[0].type, platform::DriveType::Removable);
    EXPECT_EQ(drives[0].diskNumber, 0);
    EXPECT_TRUE(drives[0].probed);
    const auto devices = system.usbDevices();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].instanceId, "USB\\VID_2E7A&PID_0101\\SIM0001");
    EXPECT_EQ(devices[0].childDiskNumbers, std::vector<int>{0});
    int error = 0;
    EXPECT_EQ(system.open("/dev/sg0", error), nullptr);
    EXPECT_EQ(error, sim::kSimNoSuchDevice);
}

TEST_F(SimFirmwareTest, UnpluggedCameraIsNowhereAndFailsEveryTransfer) {
    ASSERT_TRUE(system.unplug());
    EXPECT_TRUE(system.drives().empty());
    EXPECT_TRUE(system.usbDevices().empty());
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    ASSERT_TRUE(system.plug());
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
}

TEST_F(SimFirmwareTest, ListenerHearsModeChangeAndPlugging) {
    std::vector<sim::SimEvent> events;
    system.setEventListener([&](sim::SimEvent e) { events.push_back(e); });
    ask(signedCdb(0x08, "QZCHANG", 2));
    system.unplug();
    system.plug();
    EXPECT_EQ(events,
              (std::vector<sim::SimEvent>{sim::SimEvent::DiskRemoved, sim::SimEvent::CaptureArrived,
                                          sim::SimEvent::CaptureRemoved, sim::SimEvent::DiskArrived}));
}

// Cameras with planted states.
sim::CameraState withState(void (*adjust)(sim::CameraState&)) {
    sim::CameraState state = sim::factoryState();
    adjust(state);
    return state;
}

class SimFaultTest : public ::testing::Test {
protected:
    void start(void (*adjust)(sim::CameraState&)) {
        sim::SimOptions options = fixedClock();
        options.sleep = [this](std::chrono::milliseconds ms) { slept.push_back(ms.count()); };
        system = std::make_unique<sim::SimDiskSystem>(withState(adjust), options);
        disk = openCamera(*system);
    }
    std::unique_ptr<sim::SimDiskSystem> system;
    std::unique_ptr<platform::Disk> disk;
    std::vector<long long> slept;
};

TEST_F(SimFaultTest, ListedCommandsFailWithZeros) {
    start([](sim::CameraState& s) { s.faults.fail = {"QZGETCA", "clock-read", "clock-write"}; });
    const Exchange card = sendIn(*disk, signedCdb(0x08, "QZGETCA"), 16);
    EXPECT_FALSE(card.ok);
    EXPECT_EQ(hexBytes(card.reply), hexBytes(std::vector<std::uint8_t>(16, 0)));
    EXPECT_FALSE(sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8).ok);
    EXPECT_FALSE(sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 30, 1, 1, 0, 0, 0}));
    EXPECT_EQ(system->state()->clockOffsetS, 0);
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    const auto log = system->commandLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_FALSE(log[0].ok);
    EXPECT_TRUE(log[3].ok);
}

TEST_F(SimFaultTest, FailedWriteChangesNothing) {
    start([](sim::CameraState& s) { s.faults.fail = {"QZSETDB"}; });
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x0B, "QZSETDB", 0x01, 0x09), 16).ok);
    EXPECT_EQ(system->state()->registers[0x01], 0x02);
}

TEST_F(SimFaultTest, WrongEchoAnswersAnotherCodeButStillWrites) {
    start([](sim::CameraState& s) { s.faults.wrongEcho = {0x41}; });
    EXPECT_EQ(hexBytes(sendIn(*disk, signedCdb(0x0B, "QZGETDB", 0x41), 16).reply),
              hexBytes(signedReply(8, "DBUGRD", {0x42, 0x00})));
    EXPECT_EQ(hexBytes(sendIn(*disk, signedCdb(0x0B, "QZSETDB", 0x41, 0x02), 16).reply),
              hexBytes(signedReply(8, "DBUGWR", {0x42, 0x02})));
    EXPECT_EQ(system->state()->registers[0x41], 0x02);
}

TEST_F(SimFaultTest, UnplugAfterCountsCommands) {
    start([](sim::CameraState& s) { s.faults.unplugAfter = 2; });
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    EXPECT_EQ(system->state()->faults.unplugAfter, 1);
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    EXPECT_FALSE(system->state()->plugged);
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16).ok);
    EXPECT_TRUE(system->drives().empty());
}

TEST_F(SimFaultTest, LatencyIsWaitedAndBeyondTheTimeoutFails) {
    start([](sim::CameraState& s) { s.faults.latencyMs = 5000; });
    EXPECT_FALSE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16, std::chrono::seconds(4)).ok);
    EXPECT_TRUE(sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16, std::chrono::seconds(10)).ok);
    EXPECT_EQ(slept, (std::vector<long long>{4000, 5000}));
}

TEST_F(SimFaultTest, ProtectedOrMissingCardCannotBeFormatted) {
    start([](sim::CameraState& s) { s.media = {0x44, 0x84, 0x14, 0x0F}; });
    for (std::uint8_t slot = 0; slot < 3; ++slot)
        EXPECT_EQ(hexBytes(sendIn(*disk, signedCdb(0x08, "QZFMTCA", slot), 16).reply),
                  hexBytes(signedReply(8, "FORMAT", {slot, 1})));
    EXPECT_EQ(hexBytes(sendIn(*disk, signedCdb(0x08, "QZFMTCA", 3), 16).reply),
              hexBytes(signedReply(8, "FORMAT", {3, 0})));
}

TEST_F(SimFaultTest, FrozenClockIsReturnedVerbatimAndReplacedByAWrite) {
    start([](sim::CameraState& s) { s.clock = std::array<std::uint8_t, 6>{0x80, 0, 0, 99, 0xFF, 7}; });
    EXPECT_EQ(hexBytes(sendIn(*disk, std::array<std::uint8_t, 6>{0xFE}, 8).reply),
              hexBytes(std::vector<std::uint8_t>{'Q', 'Z', 0x80, 0, 0, 99, 0xFF, 7}));
    ASSERT_TRUE(sendOut(*disk, std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 99, 12, 31, 23, 59, 59}));
    EXPECT_EQ(system->state()->clock, (std::array<std::uint8_t, 6>{99, 12, 31, 23, 59, 59}));
}

TEST_F(SimFaultTest, LongVersionTellsItsFullLengthButFitsTheBuffer) {
    start([](sim::CameraState& s) { s.version = "V1.02-build-20240517"; });
    const Exchange ex = sendIn(*disk, signedCdb(0x08, "QZGETVS"), 16);
    EXPECT_EQ(ex.reply[2], 20);
    EXPECT_EQ(std::string(ex.reply.begin() + 3, ex.reply.end()),
              "V1.02-build-2"); // 13 characters fit behind the header
}

TEST(SimCommandName, NamesCommandsByTheirBytes) {
    EXPECT_EQ(sim::commandName(signedCdb(0x0B, "QZGETDB"), platform::Direction::In), "QZGETDB");
    EXPECT_EQ(sim::commandName(std::array<std::uint8_t, 6>{0xFE}, platform::Direction::In), "clock-read");
    EXPECT_EQ(sim::commandName(std::array<std::uint8_t, 6>{0xFF}, platform::Direction::Out), "clock-write");
    EXPECT_EQ(sim::commandName(std::array<std::uint8_t, 6>{0xFF}, platform::Direction::In), "");
    EXPECT_EQ(sim::commandName(std::array<std::uint8_t, 6>{0xFC}, platform::Direction::In), "");
}

} // namespace
} // namespace trelvik::simtest
