// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Disk.h"

namespace trelvik::platform {

enum class DriveType { Removable, Optical, Other };

// One drive the system offers, as the platform lists it in its fixed order
// (drive letters C: to Z: on Windows; sd* then sr* block devices in name order on Linux).
struct DriveEntry {
    std::string name;     // what a user calls it. Example: "F:" or "sdb"
    std::string rootPath; // written in the probe's debug line. Example: "\\\\.\\F:\\" or "/dev/sdb"
    DriveType type = DriveType::Other;
    int diskNumber = -1;  // the disk behind the volume; -1 when the system cannot tell
    std::string openPath; // what connection and probe open. Example: "\\\\.\\PhysicalDrive2" or "/dev/sg2"
    bool probed = true;   // false for drives the letter probe never tries (Windows C:)
    // The disk number the probe uses, where the probe asks with other access rights than the
    // catalog and may get another answer (Windows: the read-write open fails without
    // administrator rights while the catalog's access-free open works). Optional: empty means
    // `diskNumber`. Example: -1 while diskNumber is 2.
    std::optional<int> probeDiskNumber;
};

// A present USB device and the disks hanging below it, in child order.
struct UsbDeviceNode {
    std::string instanceId;            // Example: "USB\\VID_2E7A&PID_0101\\5&1A2B3C&0&2"
    std::vector<int> childDiskNumbers; // disk number of child 0, 1, ...; -1 for a child that is no disk
};

// Discovers the camera's drives and opens them: discover -> open -> operate.
class DiskSystem {
public:
    virtual ~DiskSystem() = default;
    // Every removable, optical or other drive in the platform's fixed order.
    virtual std::vector<DriveEntry> drives() = 0;
    // Every present USB device with its disk children.
    virtual std::vector<UsbDeviceNode> usbDevices() = 0;
    // Both lists from one look at the system: finding the camera needs both, and a system
    // that gathers them in one walk (udev) answers here at the cost of one.
    struct Catalog {
        std::vector<DriveEntry> drives;
        std::vector<UsbDeviceNode> usbDevices;
    };
    // The default asks for the device tree, a long walk on Windows, only when a drive could hang
    // below a USB device (removable, with a disk number): nobody needs it otherwise.
    virtual Catalog catalog() {
        Catalog both{drives(), {}};
        if (std::any_of(both.drives.begin(), both.drives.end(), [](const DriveEntry& drive) {
                return drive.type == DriveType::Removable && drive.diskNumber >= 0;
            }))
            both.usbDevices = usbDevices();
        return both;
    }
    // A catalog for finding cameras with these USB ids: it holds at least every drive below
    // such a device and those devices (each with all its children); it may leave the rest out.
    // Finding a camera sees the same in it as in the whole catalog, which a system that can
    // look for the ids directly (udev) spares itself. The default is the whole catalog.
    virtual Catalog camerasCatalog(std::uint16_t /*vendor*/, std::uint16_t /*product*/) { return catalog(); }
    // Forgets what the system remembers of its drives, so that the next look sees them as they
    // are now (a camera pulled out). A system that looks anew every time has nothing to forget.
    virtual void rescan() {}
    // Opens `openPath` read-write for pass-through requests. On failure returns nullptr and
    // sets `errorCode` to the system's error number (errno / GetLastError).
    virtual std::unique_ptr<Disk> open(const std::string& openPath, int& errorCode) = 0;
    // Why the last request on one of this system's disks failed, when the system knows more
    // than the transfer's false (the simulated camera: its state file could not be saved).
    // "" when the failure was the camera's, or there was none.
    // Example: "cannot write state file /ro/cam.json: Permission denied"
    virtual std::string lastFailure() const { return {}; }
    // What the user can do when open() failed with `errorCode`, as sentences for a box; "" when
    // there is nothing to add to the error number.
    // Example: 13 on Linux -> "This user may not open the camera's device node: install the udev rule ..."
    virtual std::string openAdvice(int /*errorCode*/) const { return {}; }
    // The system's words for an error number of open(), and whether it says that this user may
    // not open the device. errno's meanings unless the system numbers its errors otherwise
    // (Windows: GetLastError). Example: errorText(13) -> "Permission denied" on Linux
    virtual std::string errorText(int errorCode) const { return std::strerror(errorCode); }
    virtual bool deniesAccess(int errorCode) const { return errorCode == EACCES || errorCode == EPERM; }
};

// Hands everything to another disk system: the base of the ones that change one part of it
// (the window's request gate, a command's one look at the drives).
class DiskSystemDecorator : public DiskSystem {
public:
    // `inner` must outlive this object and the disks it opens.
    explicit DiskSystemDecorator(DiskSystem& inner) : m_inner(inner) {}
    std::vector<DriveEntry> drives() override { return m_inner.drives(); }
    std::vector<UsbDeviceNode> usbDevices() override { return m_inner.usbDevices(); }
    Catalog catalog() override { return m_inner.catalog(); }
    Catalog camerasCatalog(std::uint16_t vendor, std::uint16_t product) override {
        return m_inner.camerasCatalog(vendor, product);
    }
    void rescan() override { m_inner.rescan(); }
    std::unique_ptr<Disk> open(const std::string& openPath, int& errorCode) override {
        return m_inner.open(openPath, errorCode);
    }
    std::string lastFailure() const override { return m_inner.lastFailure(); }
    std::string openAdvice(int errorCode) const override { return m_inner.openAdvice(errorCode); }
    std::string errorText(int errorCode) const override { return m_inner.errorText(errorCode); }
    bool deniesAccess(int errorCode) const override { return m_inner.deniesAccess(errorCode); }

protected:
    DiskSystem& m_inner;
};

} // namespace trelvik::platform
