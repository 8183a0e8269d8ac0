// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DiskSystem.h"

// The drive catalog of a Windows system: drive letters C: to Z: by drive type, the disk number
// behind each removable volume, and the configuration manager's device tree with the disks
// below every USB device. Opening goes through the SCSI pass-through request.
namespace trelvik::platform {

// Asks the disk number of volume `letter` ('C'-'Z') through a read-write open of "\\\\.\\X:".
// Returns non-zero on success; `diskNumber` is set to -1 first and to the number on success.
// Returns 0 at once when `diskNumber` is null. Example: GetDiskNumber('F', &n) -> 1, n = 2.
int GetDiskNumber(char letter, int* diskNumber);

// The disk number of volume `letter` asked through an open without access rights, which
// needs no administrator rights; -1 when it cannot be told.
int volumeDiskNumber(char letter);

class SetupDiDiskSystem : public platform::DiskSystem {
public:
    // Letters C: to Z:. Removable (drive type 2): diskNumber from the access-free open (what
    // finding the camera needs), probeDiskNumber from GetDiskNumber (what the probe needs; C:
    // is never probed and not asked), openPath "\\\\.\\PhysicalDrive%d". CD-ROM (5): Optical,
    // disk number -1, openPath "\\\\.\\X:". Anything else: Other. rootPath "\\\\.\\X:\\".
    std::vector<platform::DriveEntry> drives() override;
    // Every present device whose upper-cased instance id names a USB vendor ("VID_"), with its
    // children's disk numbers in the device tree's child order (-1 for a child that is no disk).
    std::vector<platform::UsbDeviceNode> usbDevices() override;
    // Opens a disk or volume for pass-through; errorCode = GetLastError() on failure.
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override;
    // Error numbers here are GetLastError's, not errno's.
    std::string errorText(int errorCode) const override;
    bool deniesAccess(int errorCode) const override;
    std::string openAdvice(int errorCode) const override;
};

} // namespace trelvik::platform
