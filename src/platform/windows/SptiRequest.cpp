// SPDX-License-Identifier: MIT
#include "platform/windows/SptiRequest.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace trelvik::platform {

namespace {

// Windows is little-endian on every architecture it runs on; the fields are written byte by
// byte so the builder gives the same bytes on any host.
void putLittleEndian(std::span<std::uint8_t> buffer, std::size_t offset, std::uint64_t value,
                     std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        buffer[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kLengthOffset = 0;
constexpr std::size_t kPathIdOffset = 3;
constexpr std::size_t kTargetIdOffset = 4;
constexpr std::size_t kLunOffset = 5;
constexpr std::size_t kCdbLengthOffset = 6;
constexpr std::size_t kSenseInfoLengthOffset = 7;
constexpr std::size_t kDataInOffset = 8;
constexpr std::size_t kCdbFieldLength = 16;
constexpr std::uint8_t kTargetId = 1;
constexpr std::uint8_t kScsiIoctlDataOut = 0;
constexpr std::uint8_t kScsiIoctlDataIn = 1;

} // namespace

std::size_t buildSptiRequest(const SptiLayout& layout, const ScsiRequest& request,
                             std::span<std::uint8_t> buffer) {
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    const std::size_t length = request.data.size();
    if (buffer.size() < kSptiBufferSize || request.cdb.size() > kCdbFieldLength ||
        length > kSptiBufferSize - kSptiDataOffset)
        return 0;

    putLittleEndian(buffer, kLengthOffset, layout.structSize, 2);
    buffer[kPathIdOffset] = 0;
    buffer[kTargetIdOffset] = kTargetId;
    buffer[kLunOffset] = 0;
    buffer[kCdbLengthOffset] = static_cast<std::uint8_t>(request.cdb.size());
    buffer[kSenseInfoLengthOffset] = 0;
    buffer[kDataInOffset] = request.direction == Direction::In ? kScsiIoctlDataIn : kScsiIoctlDataOut;
    putLittleEndian(buffer, layout.dataTransferLengthOffset, length, 4);

    const auto seconds = request.timeout.count();
    const std::uint64_t timeout = seconds < 0
                                      ? 0
                                      : std::min<std::uint64_t>(static_cast<std::uint64_t>(seconds),
                                                                std::numeric_limits<std::uint32_t>::max());
    putLittleEndian(buffer, layout.timeOutValueOffset, timeout, 4);
    putLittleEndian(buffer, layout.dataBufferOffsetOffset, kSptiDataOffset, layout.dataBufferOffsetWidth);
    putLittleEndian(buffer, layout.senseInfoOffsetOffset, layout.senseAreaOffset, 4);
    std::copy(request.cdb.begin(), request.cdb.end(),
              buffer.begin() + static_cast<std::ptrdiff_t>(layout.cdbOffset));

    if (request.direction == Direction::Out)
        std::copy(request.data.begin(), request.data.end(),
                  buffer.begin() + static_cast<std::ptrdiff_t>(kSptiDataOffset));
    return kSptiDataOffset + length;
}

} // namespace trelvik::platform
