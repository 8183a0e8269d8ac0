// SPDX-License-Identifier: MIT
#include "link/Transport.h"

#include <algorithm>
#include <array>
#include <vector>

#include "debuglog/DebugLog.h"

namespace trelvik::link {

namespace {

// A data-in request on `out`, which is zeroed first: whatever the carrier does not write reads as
// zeros after a failure, never as a previous reply.
int readWithCdb(Disk& disk, std::span<const std::uint8_t> cdb, std::span<std::uint8_t> out,
                std::chrono::seconds timeout) {
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    if (out.size() > kMaxTransferLength) return 0;
    ScsiRequest request;
    request.cdb = cdb;
    request.direction = Direction::In;
    request.data = out;
    request.timeout = timeout;
    return disk.send(request) ? 1 : 0;
}

std::array<std::uint8_t, kShortCdbLength> shortCdb(std::uint8_t opcode) {
    std::array<std::uint8_t, kShortCdbLength> cdb{};
    cdb[0] = opcode;
    return cdb;
}

} // namespace

int SPTI_GetData(Disk& disk, std::uint8_t opcode, std::span<std::uint8_t> out) {
    const auto cdb = shortCdb(opcode);
    const int result = readWithCdb(disk, cdb, out, kShortCdbTimeout);
    debuglog::DebugLog("SPTI_GetData()=%08x", static_cast<unsigned>(result));
    return result;
}

int QZCMD_SPTI_GetData(Disk& disk, std::span<const std::uint8_t> cdb, std::span<std::uint8_t> out,
                       std::chrono::seconds timeout) {
    int result = 0;
    if (cdb.size() <= kLongCdbLength) {
        std::array<std::uint8_t, kLongCdbLength> padded{};
        std::copy(cdb.begin(), cdb.end(), padded.begin());
        result = readWithCdb(disk, padded, out, timeout);
    } else {
        // A CDB that does not fit the request's 16 bytes is refused, not cut.
        std::fill(out.begin(), out.end(), std::uint8_t{0});
    }
    debuglog::DebugLog("QZCMD_SPTI_GetData()=%08x", static_cast<unsigned>(result));
    return result;
}

int SPTI_SetData(Disk& disk, std::uint8_t opcode, std::span<const std::uint8_t> data) {
    if (data.size() > kMaxTransferLength) return 0;
    const auto cdb = shortCdb(opcode);
    // The carrier gets a copy: the request's data span is writable, the caller's block is not.
    std::vector<std::uint8_t> payload(data.begin(), data.end());
    ScsiRequest request;
    request.cdb = cdb;
    request.direction = Direction::Out;
    request.data = payload;
    request.timeout = kShortCdbTimeout;
    request.lockVolume = true;
    return disk.send(request) ? 1 : 0;
}

} // namespace trelvik::link
