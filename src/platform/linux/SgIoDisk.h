// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "platform/Disk.h"

// The camera's disk on Linux: raw SG_IO requests on its sg node (/dev/sgN). Opened read-write,
// the sg driver passes vendor opcodes with nothing but the node's permission; no volume lock
// exists on Linux, so lock requests are carried without one.
namespace trelvik::platform {

// Opens `path` (Example: "/dev/sg2") read-write and non-blocking. On failure returns nullptr
// and sets `errorCode` to errno (Example: ENOENT for a missing node, EACCES without permission).
std::unique_ptr<platform::Disk> openSgIoDisk(const std::string& path, int& errorCode);

// Wraps an already open descriptor and takes ownership of it (closed with the disk); a negative
// descriptor gives a disk whose every request fails.
std::unique_ptr<platform::Disk> adoptSgIoDisk(int fd);

// The verdict on one SG_IO request: completed exactly when the ioctl returned 0, the host byte
// is 0 and the driver byte holds nothing but the "sense present" flag. The SCSI status is not
// judged. Example: sgIoCompleted(0, 0, 0x08) -> true; sgIoCompleted(0, 3, 0) -> false.
bool sgIoCompleted(int ioctlResult, unsigned hostStatus, unsigned driverStatus);

// A timeout in whole seconds as SG_IO's milliseconds, clamped to the field's range (negative
// -> 0). Example: 2000 s -> 2000000.
unsigned sgIoTimeoutMs(std::chrono::seconds timeout);

} // namespace trelvik::platform
