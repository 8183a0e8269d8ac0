// SPDX-License-Identifier: MIT
#include "platform/linux/UdevCatalog.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace trelvik::platform {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int nameGroup(std::string_view name) {
    if (startsWith(name, "sd")) return 0;
    if (startsWith(name, "sr")) return 1;
    return 2;
}

bool parseDecimal(std::string_view text, int& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= 0;
}

platform::DriveEntry makeDrive(const ScsiDeviceRecord& record, const CameraIds& camera) {
    platform::DriveEntry drive;
    drive.name = record.blockName;
    drive.rootPath = "/dev/" + record.blockName;
    if (nameGroup(record.blockName) == 1) {
        drive.type = platform::DriveType::Optical;
    } else {
        const bool camerasDisk = !record.usbSysname.empty() && record.usbVendor == camera.vendor &&
                                 record.usbProduct == camera.diskProduct;
        drive.type =
            (record.removable || camerasDisk) ? platform::DriveType::Removable : platform::DriveType::Other;
    }
    drive.diskNumber = record.sgNumber;
    // Vendor commands pass only the sg node; the block node is a last resort that works for root.
    drive.openPath = record.sgNumber >= 0 ? "/dev/sg" + std::to_string(record.sgNumber) : drive.rootPath;
    return drive;
}

} // namespace

bool driveNameLess(std::string_view a, std::string_view b) {
    const int groupA = nameGroup(a), groupB = nameGroup(b);
    if (groupA != groupB) return groupA < groupB;
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::optional<std::array<int, 4>> parseHctl(std::string_view sysname) {
    std::array<int, 4> hctl{};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t colon = sysname.find(':');
        const std::string_view part = (i < 3) ? sysname.substr(0, colon) : sysname;
        if ((i < 3 && colon == std::string_view::npos) || !parseDecimal(part, hctl[i])) return std::nullopt;
        if (i < 3) sysname.remove_prefix(colon + 1);
    }
    return hctl;
}

int parseSgNumber(std::string_view sysname) {
    int number = -1;
    if (!startsWith(sysname, "sg") || !parseDecimal(sysname.substr(2), number)) return -1;
    return number;
}

UdevCatalog buildUdevCatalog(const std::vector<UsbDeviceRecord>& usb,
                             const std::vector<ScsiDeviceRecord>& scsi, const CameraIds& camera) {
    UdevCatalog catalog;

    std::vector<const ScsiDeviceRecord*> disks;
    for (const ScsiDeviceRecord& record : scsi)
        if (nameGroup(record.blockName) < 2) disks.push_back(&record);
    std::stable_sort(disks.begin(), disks.end(), [](const ScsiDeviceRecord* a, const ScsiDeviceRecord* b) {
        return driveNameLess(a->blockName, b->blockName);
    });
    for (const ScsiDeviceRecord* record : disks)
        catalog.drives.push_back(makeDrive(*record, camera));

    std::vector<const UsbDeviceRecord*> devices;
    for (const UsbDeviceRecord& device : usb)
        devices.push_back(&device);
    std::stable_sort(devices.begin(), devices.end(), [](const UsbDeviceRecord* a, const UsbDeviceRecord* b) {
        return a->sysname < b->sysname;
    });
    for (const UsbDeviceRecord* device : devices) {
        platform::UsbDeviceNode node;
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "USB\\VID_%04X&PID_%04X\\",
                      static_cast<unsigned>(device->vendor), static_cast<unsigned>(device->product));
        node.instanceId = prefix + device->sysname;
        // The kernel names sd disks in the order it probes them, not by LUN: the LUN decides.
        std::vector<const ScsiDeviceRecord*> children;
        for (const ScsiDeviceRecord& record : scsi)
            if (!record.usbSysname.empty() && record.usbSysname == device->sysname)
                children.push_back(&record);
        std::stable_sort(
            children.begin(), children.end(),
            [](const ScsiDeviceRecord* a, const ScsiDeviceRecord* b) { return a->hctl < b->hctl; });
        for (const ScsiDeviceRecord* child : children)
            node.childDiskNumbers.push_back(nameGroup(child->blockName) == 0 ? child->sgNumber : -1);
        catalog.usbDevices.push_back(std::move(node));
    }
    return catalog;
}

} // namespace trelvik::platform
