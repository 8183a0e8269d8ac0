// SPDX-License-Identifier: MIT
#include "platform/windows/SptiRequest.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/ByteText.h"

namespace trelvik::platform {
namespace {

using testing::hexBytes;
using namespace std::chrono_literals;

std::vector<std::uint8_t> dirtyBuffer() {
    return std::vector<std::uint8_t>(kSptiBufferSize, 0xEE);
}

// The first `count` bytes of the request buffer, where the header lives.
std::string head(const std::vector<std::uint8_t>& buffer, std::size_t count) {
    return hexBytes(std::span(buffer).first(count));
}

bool zeroFrom(const std::vector<std::uint8_t>& buffer, std::size_t offset) {
    for (std::size_t i = offset; i < buffer.size(); ++i)
        if (buffer[i] != 0) return false;
    return true;
}

TEST(SptiRequest, EightByteReadIn32BitLayout) {
    const std::array<std::uint8_t, 6> cdb{0xFE, 0, 0, 0, 0, 0};
    std::array<std::uint8_t, 8> data{};
    ScsiRequest request{cdb, Direction::In, data, 60s, false};
    auto buffer = dirtyBuffer();

    EXPECT_EQ(buildSptiRequest(kSptiLayout32, request, buffer), 88u);

    // Length 44, status 0, path 0, target 1, lun 0, cdb length 6, sense length 0, data in,
    // 3 pad, transfer length 8, timeout 60, data offset 80, sense offset 48, CDB, zeros.
    EXPECT_EQ(head(buffer, 48),
              "2C 00 00 00 01 00 06 00 01 00 00 00 08 00 00 00 3C 00 00 00 50 00 00 00 30 00 00 00 "
              "FE 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_TRUE(zeroFrom(buffer, 48));
}

TEST(SptiRequest, SixteenByteReadIn64BitLayout) {
    const std::array<std::uint8_t, 16> cdb{0xFC, 0x0B, 'Q', 'Z', 'G', 'E', 'T', 'D', 'B', 0x12};
    std::array<std::uint8_t, 16> data{};
    ScsiRequest request{cdb, Direction::In, data, 4s, false};
    auto buffer = dirtyBuffer();

    EXPECT_EQ(buildSptiRequest(kSptiLayout64, request, buffer), 96u);

    // Length 56; the data offset is 8 bytes wide at 24, the sense offset (56) at 32, CDB at 36.
    EXPECT_EQ(head(buffer, 56), "38 00 00 00 01 00 10 00 01 00 00 00 10 00 00 00 04 00 00 00 00 00 00 00 "
                                "50 00 00 00 00 00 00 00 38 00 00 00 "
                                "FC 0B 51 5A 47 45 54 44 42 12 00 00 00 00 00 00 00 00 00 00");
    EXPECT_TRUE(zeroFrom(buffer, 56));
}

TEST(SptiRequest, DataOutGoesToOffsetEighty) {
    const std::array<std::uint8_t, 6> cdb{0xFF, 0, 0, 0, 0, 0};
    std::array<std::uint8_t, 8> block{'Q', 'Z', 99, 12, 31, 23, 59, 59};
    ScsiRequest request{cdb, Direction::Out, block, 60s, true};

    for (const SptiLayout* layout : {&kSptiLayout32, &kSptiLayout64}) {
        auto buffer = dirtyBuffer();
        EXPECT_EQ(buildSptiRequest(*layout, request, buffer), 88u);
        EXPECT_EQ(buffer[8], 0) << "DataIn must be SCSI_IOCTL_DATA_OUT";
        EXPECT_EQ(buffer[6], 6);
        EXPECT_EQ(hexBytes(std::span(buffer).subspan(kSptiDataOffset, 8)), "51 5A 63 0C 1F 17 3B 3B");
        EXPECT_TRUE(zeroFrom(buffer, kSptiDataOffset + 8));
        EXPECT_EQ(buffer[layout->cdbOffset], 0xFF);
    }
}

TEST(SptiRequest, LongTimeoutIsWrittenInSeconds) {
    const std::array<std::uint8_t, 16> cdb{0xFC};
    std::array<std::uint8_t, 16> data{};
    auto buffer = dirtyBuffer();
    ScsiRequest request{cdb, Direction::In, data, 2000s, false};
    buildSptiRequest(kSptiLayout32, request, buffer);
    EXPECT_EQ(hexBytes(std::span(buffer).subspan(16, 4)), "D0 07 00 00");

    request.timeout = std::chrono::seconds(0x1'0000'0005LL);
    buildSptiRequest(kSptiLayout32, request, buffer);
    EXPECT_EQ(hexBytes(std::span(buffer).subspan(16, 4)), "FF FF FF FF") << "clamped, not wrapped";
}

TEST(SptiRequest, RefusesWhatTheBufferCannotCarry) {
    std::array<std::uint8_t, 17> longCdb{};
    std::array<std::uint8_t, 6> cdb{0xFE};
    std::vector<std::uint8_t> tooMuch(65537);
    std::vector<std::uint8_t> largest(65536);
    std::array<std::uint8_t, 8> data{};

    auto buffer = dirtyBuffer();
    EXPECT_EQ(buildSptiRequest(kSptiLayout32, {longCdb, Direction::In, data, 60s, false}, buffer), 0u);
    EXPECT_TRUE(zeroFrom(buffer, 0));
    EXPECT_EQ(buildSptiRequest(kSptiLayout32, {cdb, Direction::Out, tooMuch, 60s, false}, buffer), 0u);
    std::vector<std::uint8_t> small(kSptiBufferSize - 1);
    EXPECT_EQ(buildSptiRequest(kSptiLayout32, {cdb, Direction::In, data, 60s, false}, small), 0u);

    EXPECT_EQ(buildSptiRequest(kSptiLayout64, {cdb, Direction::In, largest, 60s, false}, buffer),
              kSptiBufferSize);
}

TEST(SptiRequest, IoctlCodes) {
    EXPECT_EQ(kIoctlScsiPassThrough, 0x4D004u);
    EXPECT_EQ(kFsctlLockVolume, 0x90018u);
    EXPECT_EQ(kFsctlUnlockVolume, 0x9001Cu);
}

} // namespace
} // namespace trelvik::platform
