// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CameraIds.h"
#include "platform/DiskSystem.h"

// The ordering and typing rules of the Linux drive catalog, kept apart from the udev walk that
// gathers the facts so they can be tested on synthetic device trees.
namespace trelvik::platform {

// A USB device as udev shows it (subsystem "usb", devtype "usb_device").
struct UsbDeviceRecord {
    std::string sysname;     // Example: "1-2"
    std::uint16_t vendor{};  // idVendor. Example: 0x2E7A
    std::uint16_t product{}; // idProduct. Example: 0x0101
};

// One SCSI device (one LUN) and what hangs below it.
struct ScsiDeviceRecord {
    std::array<int, 4> hctl{}; // host, channel, target, LUN of the sysname "H:C:T:L". Example: {2, 0, 0, 1}
    std::string blockName;     // its whole-disk block device, "" when it has none. Example: "sdb", "sr0"
    bool removable = false;    // the block device's "removable" attribute is 1
    std::string usbSysname;    // sysname of the USB device above it, "" when not on USB. Example: "1-2"
    std::uint16_t usbVendor{}; // that USB device's ids (meaningful only with usbSysname)
    std::uint16_t usbProduct{};
    int sgNumber = -1; // N of its sg node /dev/sgN, -1 when it has none
};

// What the catalog offers: drives in their fixed order and every USB device with its children.
struct UdevCatalog {
    std::vector<platform::DriveEntry> drives;
    std::vector<platform::UsbDeviceNode> usbDevices;
};

// True when block device `a` comes before `b`: "sd" disks before "sr" drives, then shorter names
// first, then by letters, so sdz < sdaa and sr9 < sr10 as the kernel hands the names out.
bool driveNameLess(std::string_view a, std::string_view b);

// Builds the catalog. Drives: the "sd*" block devices (Removable when their removable attribute
// is 1 or when they sit on a USB device with the camera's vendor and disk product ids, since some
// USB disks report 0; otherwise Other) and the "sr*" ones (Optical), in driveNameLess order, each
// named after its block device, rootPath "/dev/<name>", diskNumber the sg number, openPath
// "/dev/sgN" ("/dev/<name>" when it has no sg node). USB devices: sysname order, instanceId
// "USB\\VID_%04X&PID_%04X\\<sysname>", one child per SCSI device below it in H:C:T:L order,
// whose disk number is its sg number when it carries an "sd" disk, else -1.
UdevCatalog buildUdevCatalog(const std::vector<UsbDeviceRecord>& usb,
                             const std::vector<ScsiDeviceRecord>& scsi, const CameraIds& camera);

// "2:0:0:1" -> {2, 0, 0, 1}; empty for anything else.
std::optional<std::array<int, 4>> parseHctl(std::string_view sysname);
// "sg12" -> 12; -1 for anything else.
int parseSgNumber(std::string_view sysname);

} // namespace trelvik::platform
