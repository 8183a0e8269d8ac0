// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "platform/Disk.h"

// The camera's disk on Windows: IOCTL_SCSI_PASS_THROUGH on a disk or volume handle, with the
// volume locked around a request that asks for it.
namespace trelvik::platform {

// Opens `path` (Example: "\\\\.\\PhysicalDrive2") for reading and writing, shared for both.
// On failure returns nullptr and sets `errorCode` to GetLastError() (Example: 5 access denied).
std::unique_ptr<platform::Disk> openSptiDisk(const std::string& path, unsigned long& errorCode);

} // namespace trelvik::platform
