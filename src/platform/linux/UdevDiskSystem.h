// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/CameraIds.h"
#include "platform/DiskSystem.h"
#include "platform/linux/UdevCatalog.h"

namespace trelvik::platform {

// The drive catalog of a Linux system, read from udev on every call: the sd and sr block
// devices in name order with their sg nodes, and the USB devices with the LUNs below them.
// Opening goes through raw SG_IO on the sg node.
class UdevDiskSystem : public platform::DiskSystem {
public:
    // `camera` decides which USB disks count as removable whatever their own flag says.
    explicit UdevDiskSystem(const CameraIds& camera = kDefaultCameraIds);

    // sd* (Removable or Other) then sr* (Optical). Empty when udev cannot be read.
    std::vector<platform::DriveEntry> drives() override;
    // Every USB device with idVendor and idProduct. Example instanceId: "USB\\VID_2E7A&PID_0101\\1-2".
    std::vector<platform::UsbDeviceNode> usbDevices() override;
    // Both from one walk of udev; its USB devices are the ones with SCSI devices below them,
    // which is all that finding a camera asks of them, and spares the walk of every USB device.
    Catalog catalog() override;
    // One walk of the sg nodes, each followed up its own path to its USB device: the SCSI
    // devices below a USB device with these ids, which with the sg driver loaded (without it no
    // camera can be reached) are all its children.
    Catalog camerasCatalog(std::uint16_t vendor, std::uint16_t product) override;
    // Opens an sg (or block) node read-write; errorCode = errno on failure.
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override;
    // For EACCES and EPERM: how to install the udev rule that lets the logged-in user open the
    // camera's nodes.
    std::string openAdvice(int errorCode) const override;

    // Which USB devices a walk lists: every one, or those above a SCSI device.
    enum class UsbDevices { Every, AboveDisks };
    // The facts behind both lists, as one udev walk gathers them. Empty when udev is unusable.
    static void scan(std::vector<UsbDeviceRecord>& usb, std::vector<ScsiDeviceRecord>& scsi,
                     UsbDevices which = UsbDevices::Every);

private:
    UdevCatalog walk(UsbDevices which) const;

    CameraIds m_camera;
};

} // namespace trelvik::platform
