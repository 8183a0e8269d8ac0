// SPDX-License-Identifier: MIT
// The pass-through request as Windows' own header lays it out. The pure builder writes the
// bytes by offsets of its own; here the same request is filled in through the fields of the
// compiler's SCSI_PASS_THROUGH, and the two buffers must agree byte for byte.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

#include "platform/windows/SptiRequest.h"
#include "support/CaseName.h"

namespace trelvik::platform {
namespace {

using namespace std::chrono_literals;

// The structure, the (unused) sense area, the data: the shape of Windows' samples, with the
// data kept at the offset the request sizes are counted from.
struct NativeRequest {
    SCSI_PASS_THROUGH header;
    UCHAR sense[kSptiDataOffset - sizeof(SCSI_PASS_THROUGH)];
    UCHAR data[kSptiBufferSize - kSptiDataOffset];
};

TEST(SptiNativeLayout, SixtyFourBitStructureKeepsTheDataAtEighty) {
    EXPECT_EQ(sizeof(void*), 8u) << "the Windows build is 64-bit";
    EXPECT_EQ(sizeof(SCSI_PASS_THROUGH), 56u);
    EXPECT_EQ(offsetof(NativeRequest, data), kSptiDataOffset);
    EXPECT_GE(offsetof(NativeRequest, sense), sizeof(SCSI_PASS_THROUGH));
    EXPECT_EQ(kSptiLayout64.senseAreaOffset, offsetof(NativeRequest, sense));
    EXPECT_EQ(sizeof(NativeRequest), kSptiBufferSize);
}

struct RequestCase {
    const char* name;
    std::vector<std::uint8_t> cdb;
    Direction direction;
    std::vector<std::uint8_t> data;
    std::chrono::seconds timeout;
};

std::vector<std::uint8_t> counting(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return bytes;
}

class SptiNativeRequest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(SptiNativeRequest, BuilderWritesWhatTheFieldsHold) {
    const RequestCase& c = GetParam();
    std::vector<std::uint8_t> payload = c.data;
    const ScsiRequest request{c.cdb, c.direction, payload, c.timeout, c.direction == Direction::Out};

    std::vector<std::uint8_t> built(kSptiBufferSize, 0xEE);
    const std::size_t size = buildSptiRequest(kSptiLayout64, request, built);
    EXPECT_EQ(size, kSptiDataOffset + c.data.size());

    auto native = std::make_unique<NativeRequest>();
    std::memset(native.get(), 0, sizeof *native);
    SCSI_PASS_THROUGH& spt = native->header;
    spt.Length = sizeof(SCSI_PASS_THROUGH);
    spt.PathId = 0;
    spt.TargetId = 1;
    spt.Lun = 0;
    spt.CdbLength = static_cast<UCHAR>(c.cdb.size());
    spt.SenseInfoLength = 0;
    spt.DataIn = c.direction == Direction::In ? SCSI_IOCTL_DATA_IN : SCSI_IOCTL_DATA_OUT;
    spt.DataTransferLength = static_cast<ULONG>(c.data.size());
    spt.TimeOutValue = static_cast<ULONG>(c.timeout.count());
    spt.DataBufferOffset = offsetof(NativeRequest, data);
    spt.SenseInfoOffset = offsetof(NativeRequest, sense);
    std::memcpy(spt.Cdb, c.cdb.data(), c.cdb.size());
    if (c.direction == Direction::Out) std::memcpy(native->data, c.data.data(), c.data.size());

    const auto* expected = reinterpret_cast<const std::uint8_t*>(native.get());
    for (std::size_t i = 0; i < kSptiBufferSize; ++i)
        ASSERT_EQ(built[i], expected[i]) << "first difference at byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SptiNativeRequest,
    ::testing::Values(
        RequestCase{"ClockRead", {0xFE, 0, 0, 0, 0, 0}, Direction::In, std::vector<std::uint8_t>(8), 60s},
        RequestCase{
            "ClockWrite", {0xFF, 0, 0, 0, 0, 0}, Direction::Out, {'Q', 'Z', 24, 5, 17, 8, 30, 0}, 60s},
        RequestCase{"RegisterRead",
                    {0xFC, 0x0B, 'Q', 'Z', 'G', 'E', 'T', 'D', 'B', 0x12, 0, 0, 0, 0, 0, 0},
                    Direction::In,
                    std::vector<std::uint8_t>(16),
                    4s},
        RequestCase{"IdentityRead",
                    {0xFC, 0x0C, 'Q', 'Z', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                    Direction::In,
                    std::vector<std::uint8_t>(35),
                    10s},
        RequestCase{"FormatWaitsLong",
                    {0xFC, 0x0D, 'Q', 'Z', 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                    Direction::In,
                    std::vector<std::uint8_t>(16),
                    2000s},
        RequestCase{"LargestBlockOut",
                    {0xFC, 0x01, 'Q', 'Z', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                    Direction::Out,
                    counting(kSptiBufferSize - kSptiDataOffset),
                    100s}),
    testing::namedCases());

} // namespace
} // namespace trelvik::platform
