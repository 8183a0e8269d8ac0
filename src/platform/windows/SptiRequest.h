// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Disk.h"

// The Windows SCSI pass-through request as plain bytes. The builder is pure so the exact layout
// is tested on any machine; the Windows carrier only hands the buffer to DeviceIoControl.
namespace trelvik::platform {

inline constexpr std::uint32_t kIoctlScsiPassThrough = 0x4D004; // IOCTL_SCSI_PASS_THROUGH
inline constexpr std::uint32_t kFsctlLockVolume = 0x90018;      // FSCTL_LOCK_VOLUME
inline constexpr std::uint32_t kFsctlUnlockVolume = 0x9001C;    // FSCTL_UNLOCK_VOLUME

// The whole request buffer: header, sense area and the largest data block.
inline constexpr std::size_t kSptiBufferSize = 65616;
// Where the data block starts in the buffer, for every layout.
inline constexpr std::size_t kSptiDataOffset = 80;
// Size of the (never requested) sense area.
inline constexpr std::size_t kSptiSenseSize = 32;

// Where the fields of SCSI_PASS_THROUGH lie for one pointer width. The byte fields (Length at 0,
// ScsiStatus 2, PathId 3, TargetId 4, Lun 5, CdbLength 6, SenseInfoLength 7, DataIn 8) are the
// same for all widths.
struct SptiLayout {
    std::size_t structSize;               // sizeof(SCSI_PASS_THROUGH), written to Length. Example: 44
    std::size_t dataTransferLengthOffset; // Example: 12
    std::size_t timeOutValueOffset;       // Example: 16
    std::size_t dataBufferOffsetOffset;   // DataBufferOffset (ULONG_PTR). Example: 20
    std::size_t dataBufferOffsetWidth;    // 4 or 8 bytes
    std::size_t senseInfoOffsetOffset;    // Example: 24
    std::size_t cdbOffset;                // Example: 28
    std::size_t senseAreaOffset;          // value of SenseInfoOffset, past the struct. Example: 48
};

// A 32-bit process: the classic 44-byte structure, sense area at 48.
inline constexpr SptiLayout kSptiLayout32{44, 12, 16, 20, 4, 24, 28, 48};
// A 64-bit process: DataBufferOffset widens to 8 bytes, the structure grows to 56 and the sense
// area moves behind it (56..79), keeping the data at 80.
inline constexpr SptiLayout kSptiLayout64{56, 12, 16, 24, 8, 32, 36, 56};

// Fills `buffer` (at least kSptiBufferSize bytes, zeroed in full first) with the request for
// `request` in `layout`: Length, PathId 0, TargetId 1, Lun 0, CdbLength, SenseInfoLength 0,
// DataIn 1 (In) or 0 (Out), DataTransferLength, TimeOutValue in seconds, DataBufferOffset 80,
// SenseInfoOffset, the CDB, and for data out the data at offset 80.
// Returns the size to pass as both input and output size, 80 + data length (88 for an 8-byte
// read), or 0 when the request cannot be carried (CDB longer than 16 bytes, data longer than
// 65536 bytes, buffer too small); the buffer is then left zeroed.
std::size_t buildSptiRequest(const SptiLayout& layout, const ScsiRequest& request,
                             std::span<std::uint8_t> buffer);

} // namespace trelvik::platform
