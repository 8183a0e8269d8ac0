// SPDX-License-Identifier: MIT
#include "link/VendorCommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "support/ByteText.h"
#include "support/CalendarTime.h"
#include "support/CaseName.h"
#include "support/ScriptedDisk.h"

namespace trelvik::link {
namespace {

using platform::Direction;
using testing::hexBytes;
using testing::ScriptedDisk;
using testing::signedReply;
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// One operation with the bytes it must put on the wire and a reply it must accept.
struct WireCase {
    const char* name;
    std::function<Status(Disk&)> run;
    const char* cdb;
    std::size_t length;
    std::chrono::seconds timeout;
    Bytes goodReply;
};

std::uint8_t g_value;
std::string g_text;
std::array<std::uint8_t, 4> g_status;
char g_identity[33];

const std::vector<WireCase>& wireCases() {
    static const std::vector<WireCase> cases{
        {"ReadRegister", [](Disk& d) { return ReadRegister(d, 0x12, g_value); },
         "FC 0B 51 5A 47 45 54 44 42 12 00 00 00 00 00 00", 16, 4s, signedReply(8, "DBUGRD", {0x12, 0x07})},
        {"WriteRegister", [](Disk& d) { return WriteRegister(d, 0x90, 0xC8); },
         "FC 0B 51 5A 53 45 54 44 42 90 C8 00 00 00 00 00", 16, 4s, signedReply(8, "DBUGWR", {0x90, 0xC8})},
        {"ReadVersionString", [](Disk& d) { return ReadVersionString(d, g_text); },
         "FC 08 51 5A 47 45 54 56 53 00 00 00 00 00 00 00", 16, 4s, signedReply(5, "V1.07")},
        {"ReadCardStatus", [](Disk& d) { return ReadCardStatus(d, g_status); },
         "FC 08 51 5A 47 45 54 43 41 00 00 00 00 00 00 00", 16, 10s, signedReply(8, "CARD", {1, 2, 3, 4})},
        {"ReadModelId", [](Disk& d) { return ReadModelId(d, g_identity, sizeof g_identity); },
         "FC 20 51 5A 47 45 54 4D 44 00 00 00 00 00 00 00", 35, 4s, signedReply(0x20, "TC-40", {}, 35)},
        {"ReadMakeId", [](Disk& d) { return ReadMakeId(d, g_identity, sizeof g_identity); },
         "FC 07 51 5A 47 45 54 4D 4B 00 00 00 00 00 00 00", 35, 4s, signedReply(0x20, "Acme", {}, 35)},
        {"ChangeToPcCam", [](Disk& d) { return ChangeToPcCam(d); },
         "FC 08 51 5A 43 48 41 4E 47 02 00 00 00 00 00 00", 16, 4s, signedReply(6, "CHANGE", {2})},
        {"FormatCard", [](Disk& d) { return FormatCard(d, 3); },
         "FC 08 51 5A 46 4D 54 43 41 03 00 00 00 00 00 00", 16, 100s, signedReply(8, "FORMAT", {3, 0})},
        {"SetFlashSave", [](Disk& d) { return SetFlashSave(d, 1); },
         "FC 08 51 5A 53 53 56 46 4C 01 00 00 00 00 00 00", 16, 100s, signedReply(8, "SSVFLAS", {1, 1})},
        {"ReadCameraClock",
         [](Disk& d) {
             std::tm time{};
             return ReadCameraClock(d, time);
         },
         "FE 00 00 00 00 00", 8, 60s, Bytes{'Q', 'Z', 19, 1, 1, 0, 0, 0}},
    };
    return cases;
}

class WireTest : public ::testing::TestWithParam<WireCase> {};

TEST_P(WireTest, SendsOneExactRequestAndAcceptsTheGoodReply) {
    const auto& c = GetParam();
    ScriptedDisk disk;
    disk.queueReply(c.goodReply);
    disk.queueReply(c.goodReply);

    EXPECT_EQ(c.run(disk), Status::Ok);

    ASSERT_EQ(disk.requests().size(), 1u);
    const auto& sent = disk.requests()[0];
    EXPECT_EQ(hexBytes(sent.cdb), c.cdb);
    EXPECT_EQ(sent.direction, Direction::In);
    EXPECT_EQ(sent.length, c.length);
    EXPECT_EQ(sent.timeout, c.timeout);
    EXPECT_FALSE(sent.lockVolume);
}

TEST_P(WireTest, FailedTransferFailsWithoutRetry) {
    const auto& c = GetParam();
    ScriptedDisk disk;
    disk.queueReply(c.goodReply, false); // the right bytes do not make a failed request good
    disk.queueReply(c.goodReply);

    EXPECT_EQ(c.run(disk), Status::Failed);
    EXPECT_EQ(disk.requests().size(), 1u);
}

TEST_P(WireTest, ReplyWithoutMagicFails) {
    const auto& c = GetParam();
    ScriptedDisk disk;
    Bytes reply = c.goodReply;
    reply[1] = 'z';
    disk.queueReply(reply);
    EXPECT_EQ(c.run(disk), Status::Failed);
}

INSTANTIATE_TEST_SUITE_P(Operations, WireTest, ::testing::ValuesIn(wireCases()), testing::namedCases());

TEST(ReadRegister, ReturnsValueOrNotSupported) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(8, "DBUGRD", {0x4E, 0x53})); // reads as "NS" too
    disk.queueReply(signedReply(8, "DBUGRD", {'N', 'S'}));
    disk.queueReply(signedReply(8, "DBUGRD", {0x11, 0x22}));
    std::uint8_t value = 0xA5;

    EXPECT_EQ(ReadRegister(disk, 0x4E, value), Status::Ok);
    EXPECT_EQ(value, 0x53);
    value = 0xA5;
    EXPECT_EQ(ReadRegister(disk, 0x20, value), Status::NotSupported);
    EXPECT_EQ(value, 0xA5);
    EXPECT_EQ(ReadRegister(disk, 0x20, value), Status::Failed);
    EXPECT_EQ(value, 0xA5);
}

TEST(ReadRegister, FailedTransferLeavesValueAndLogsTheResult) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(8, "DBUGRD", {0x20, 0x01}), false);
    debuglog::DebugCapture log;
    std::uint8_t value = 0xA5;

    EXPECT_EQ(ReadRegister(disk, 0x20, value), Status::Failed);
    EXPECT_EQ(value, 0xA5);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::QZCMD_SPTI_GetData()=00000000"});
}

TEST(WriteRegister, FactoryResetValueIsEchoed) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(8, "DBUGWR", {0x00, 0xFF}));
    disk.queueReply(signedReply(8, "DBUGWR", {'N', 'S'}));
    EXPECT_EQ(WriteRegister(disk, 0x00, 0xFF), Status::Ok);
    EXPECT_EQ(WriteRegister(disk, 0x66, 0x01), Status::NotSupported);
}

TEST(ReadVersionString, GivesTheTextOrNotAvailable) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(5, "V1.07junk"));
    disk.queueReply(signedReply(5, "V1.07"), false);
    disk.queueReply(Bytes{'X', 'Z', 5, 'V'});
    std::string text;

    EXPECT_EQ(ReadVersionString(disk, text), Status::Ok);
    EXPECT_EQ(text, "V1.07");
    EXPECT_EQ(ReadVersionString(disk, text), Status::Failed);
    EXPECT_EQ(text, "<N/A>");
    text.clear();
    EXPECT_EQ(ReadVersionString(disk, text), Status::Failed);
    EXPECT_EQ(text, "<N/A>");
}

TEST(ReadCardStatus, GivesTheFourSlots) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(8, "CARD", {0x11, 0x00, 0x83, 0x02}));
    std::array<std::uint8_t, 4> status{};
    EXPECT_EQ(ReadCardStatus(disk, status), Status::Ok);
    EXPECT_EQ(hexBytes(status), "11 00 83 02");
}

TEST(ReadModelId, ThirtyTwoCharactersFitAThirtyThreeByteBuffer) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(0x20, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", {}, 35));
    char buffer[33];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    EXPECT_EQ(ReadModelId(disk, buffer, sizeof buffer), Status::Ok);
    EXPECT_EQ(std::string(buffer), "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
}

TEST(ReadModelId, NoRoomMeansNoRequest) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(0x20, "TC-40", {}, 35));
    char buffer[1] = {'x'};
    EXPECT_EQ(ReadModelId(disk, buffer, 0), Status::Failed);
    EXPECT_EQ(ReadMakeId(disk, nullptr, 33), Status::Failed);
    EXPECT_TRUE(disk.requests().empty());
    EXPECT_EQ(buffer[0], 'x');
}

TEST(ReadMakeId, FailedReplyLeavesTheBuffer) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(0x1F, "Acme", {}, 35));
    char buffer[33] = "keep";
    EXPECT_EQ(ReadMakeId(disk, buffer, sizeof buffer), Status::Failed);
    EXPECT_EQ(std::string(buffer), "keep");
}

TEST(FormatCard, NonZeroOutcomeIsAFailedFormat) {
    ScriptedDisk disk;
    disk.queueReply(signedReply(8, "FORMAT", {1, 0x01}));
    EXPECT_EQ(FormatCard(disk, 1), Status::Failed);
}

TEST(ReadCameraClock, FillsTheSixFieldsFromSignedBytes) {
    ScriptedDisk disk;
    disk.queueReply(Bytes{'Q', 'Z', 0x80, 2, 29, 12, 30, 45});
    debuglog::DebugCapture log;
    std::tm time{};
    time.tm_yday = 99;
    EXPECT_EQ(ReadCameraClock(disk, time), Status::Ok);
    EXPECT_EQ(time.tm_year + 1900, 1872);
    EXPECT_EQ(time.tm_mon, 1);
    EXPECT_EQ(time.tm_mday, 29);
    EXPECT_EQ(time.tm_hour, 12);
    EXPECT_EQ(time.tm_min, 30);
    EXPECT_EQ(time.tm_sec, 45);
    EXPECT_EQ(time.tm_yday, 99);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::SPTI_GetData()=00000001"});
}

TEST(WriteCameraClock, SendsTheBlockLockedAndReportsTheTransfer) {
    ScriptedDisk disk;
    disk.queueReply(Bytes{});
    disk.queueFailure();
    std::tm time = trelvik::testing::calendarTime(2099, 12, 31, 23, 59, 59);

    EXPECT_EQ(WriteCameraClock(disk, time), Status::Ok);
    EXPECT_EQ(WriteCameraClock(disk, time), Status::Failed);

    ASSERT_EQ(disk.requests().size(), 2u);
    const auto& sent = disk.requests()[0];
    EXPECT_EQ(hexBytes(sent.cdb), "FF 00 00 00 00 00");
    EXPECT_EQ(sent.direction, Direction::Out);
    EXPECT_EQ(sent.timeout, 60s);
    EXPECT_TRUE(sent.lockVolume);
    EXPECT_EQ(hexBytes(sent.dataOut), "51 5A 63 0C 1F 17 3B 3B");
}

} // namespace
} // namespace trelvik::link
