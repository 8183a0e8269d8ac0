// SPDX-License-Identifier: MIT
#include "link/Transport.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "debuglog/DebugLog.h"
#include "support/ByteText.h"
#include "support/ScriptedDisk.h"

namespace trelvik::link {
namespace {

using testing::hexBytes;
using testing::ScriptedDisk;
using namespace std::chrono_literals;

TEST(Transport, SixByteReadSendsOpcodeAndFiveZerosForSixtySeconds) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{'Q', 'Z', 19, 1, 2, 3, 4, 5});
    debuglog::DebugCapture log;
    std::array<std::uint8_t, 8> out{};

    EXPECT_EQ(SPTI_GetData(disk, 0xFE, out), 1);

    ASSERT_EQ(disk.requests().size(), 1u);
    const auto& sent = disk.requests()[0];
    EXPECT_EQ(hexBytes(sent.cdb), "FE 00 00 00 00 00");
    EXPECT_EQ(sent.direction, Direction::In);
    EXPECT_EQ(sent.length, 8u);
    EXPECT_EQ(sent.timeout, 60s);
    EXPECT_FALSE(sent.lockVolume);
    EXPECT_EQ(hexBytes(out), "51 5A 13 01 02 03 04 05");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::SPTI_GetData()=00000001"});
}

TEST(Transport, FailedReadLeavesZerosNotTheCallersOldBytes) {
    ScriptedDisk disk;
    disk.queueFailure();
    debuglog::DebugCapture log;
    std::array<std::uint8_t, 8> out;
    out.fill(0xAA);

    EXPECT_EQ(SPTI_GetData(disk, 0xFE, out), 0);

    EXPECT_EQ(hexBytes(out), "00 00 00 00 00 00 00 00");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::SPTI_GetData()=00000000"});
}

TEST(Transport, FailedReadKeepsWhatTheCarrierWrote) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{0x11, 0x22}, false);
    std::array<std::uint8_t, 4> out;
    out.fill(0xAA);

    EXPECT_EQ(QZCMD_SPTI_GetData(disk, std::array<std::uint8_t, 1>{0xFC}, out, 4s), 0);

    EXPECT_EQ(hexBytes(out), "11 22 00 00");
}

TEST(Transport, LongCdbIsPaddedWithZerosAndCarriesTheCallersTimeout) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{'Q', 'Z'});
    debuglog::DebugCapture log;
    const std::array<std::uint8_t, 9> cdb{0xFC, 1, 2, 3, 4, 5, 6, 7, 8};
    std::array<std::uint8_t, 16> out{};

    EXPECT_EQ(QZCMD_SPTI_GetData(disk, cdb, out, 2000s), 1);

    ASSERT_EQ(disk.requests().size(), 1u);
    EXPECT_EQ(hexBytes(disk.requests()[0].cdb), "FC 01 02 03 04 05 06 07 08 00 00 00 00 00 00 00");
    EXPECT_EQ(disk.requests()[0].timeout, 2000s);
    EXPECT_EQ(disk.requests()[0].length, 16u);
    EXPECT_EQ(disk.requests()[0].direction, Direction::In);
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::QZCMD_SPTI_GetData()=00000001"});
}

TEST(Transport, CdbLongerThanSixteenBytesIsRefusedWithoutTraffic) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{'Q', 'Z'});
    debuglog::DebugCapture log;
    std::array<std::uint8_t, 17> cdb{};
    std::array<std::uint8_t, 4> out;
    out.fill(0xAA);

    EXPECT_EQ(QZCMD_SPTI_GetData(disk, cdb, out, 4s), 0);

    EXPECT_TRUE(disk.requests().empty());
    EXPECT_EQ(hexBytes(out), "00 00 00 00");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"QZ::QZCMD_SPTI_GetData()=00000000"});
}

TEST(Transport, DataBeyondTheRequestBufferIsRefusedWithoutTraffic) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{1});
    disk.queueReply(std::vector<std::uint8_t>{1});
    std::vector<std::uint8_t> tooLong(kMaxTransferLength + 1, 0xAA);

    EXPECT_EQ(SPTI_GetData(disk, 0xFE, tooLong), 0);
    EXPECT_EQ(QZCMD_SPTI_GetData(disk, std::array<std::uint8_t, 1>{0xFC}, tooLong, 4s), 0);
    EXPECT_EQ(SPTI_SetData(disk, 0xFF, tooLong), 0);
    EXPECT_TRUE(disk.requests().empty());

    std::vector<std::uint8_t> largest(kMaxTransferLength);
    EXPECT_EQ(SPTI_GetData(disk, 0xFE, largest), 1);
    EXPECT_EQ(SPTI_SetData(disk, 0xFF, largest), 1);
    ASSERT_EQ(disk.requests().size(), 2u);
    EXPECT_EQ(disk.requests()[0].length, kMaxTransferLength);
    EXPECT_EQ(disk.requests()[1].length, kMaxTransferLength);
}

TEST(Transport, SixByteWriteLocksTheVolumeAndLogsNothing) {
    ScriptedDisk disk;
    disk.queueReply(std::vector<std::uint8_t>{}, true);
    disk.queueFailure();
    debuglog::DebugCapture log;
    const std::array<std::uint8_t, 8> block{'Q', 'Z', 99, 12, 31, 23, 59, 59};

    EXPECT_EQ(SPTI_SetData(disk, 0xFF, block), 1);
    EXPECT_EQ(SPTI_SetData(disk, 0xFF, block), 0);

    ASSERT_EQ(disk.requests().size(), 2u);
    const auto& sent = disk.requests()[0];
    EXPECT_EQ(hexBytes(sent.cdb), "FF 00 00 00 00 00");
    EXPECT_EQ(sent.direction, Direction::Out);
    EXPECT_EQ(sent.timeout, 60s);
    EXPECT_TRUE(sent.lockVolume);
    EXPECT_EQ(hexBytes(sent.dataOut), "51 5A 63 0C 1F 17 3B 3B");
    EXPECT_TRUE(log.lines().empty());
}

} // namespace
} // namespace trelvik::link
