// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Disk.h"

// The three pass-through transfers every camera command rides on. They build one request,
// hand it to the disk and report the system's verdict; judging the reply is the caller's job.
namespace trelvik::link {

using platform::Direction;
using platform::Disk;
using platform::ScsiRequest;

// Largest data block one request carries; longer transfers are refused without traffic.
inline constexpr std::size_t kMaxTransferLength = 65536;
// Length of the CDB the signed commands use; shorter CDBs are padded with zeros.
inline constexpr std::size_t kLongCdbLength = 16;
// Length of the CDB of the two six-byte transfers.
inline constexpr std::size_t kShortCdbLength = 6;
// Timeout of the two six-byte transfers.
inline constexpr std::chrono::seconds kShortCdbTimeout{60};

// Reads `out.size()` bytes with the 6-byte CDB {opcode, 0, 0, 0, 0, 0}, waiting up to 60 s.
// Returns 1 when the request completed, else 0. `out` is zeroed before the request, so a
// failed read leaves zeros unless the carrier wrote something. Logs "SPTI_GetData()=%08x".
// Example: SPTI_GetData(disk, 0xFE, clock8) -> 1, clock8 = "QZ" 19 01 ...
int SPTI_GetData(Disk& disk, std::uint8_t opcode, std::span<std::uint8_t> out);

// Reads `out.size()` bytes with a 16-byte CDB made of `cdb` followed by zeros, waiting up to
// `timeout`. More than 16 CDB bytes or more than 65536 data bytes: nothing is sent, `out` is
// zeroed and the result is 0. Logs "QZCMD_SPTI_GetData()=%08x" with the result.
// Example: QZCMD_SPTI_GetData(disk, cdb16, reply16, 4s) -> 1
int QZCMD_SPTI_GetData(Disk& disk, std::span<const std::uint8_t> cdb, std::span<std::uint8_t> out,
                       std::chrono::seconds timeout);

// Writes `data` with the 6-byte CDB {opcode, 0, 0, 0, 0, 0}, waiting up to 60 s, and asks the
// carrier to lock the volume around the transfer (a failed lock does not stop it). Returns 1
// when the request completed, else 0; more than 65536 bytes: nothing is sent, 0. No debug line.
// Example: SPTI_SetData(disk, 0xFF, clock8) -> 1
int SPTI_SetData(Disk& disk, std::uint8_t opcode, std::span<const std::uint8_t> data);

} // namespace trelvik::link
