// SPDX-License-Identifier: MIT
#include "platform/linux/UdevDiskSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <libudev.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <memory>
#include <string_view>

#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"
#include "platform/linux/SgIoDisk.h"
#include "text/Hex.h"

namespace trelvik::platform {

namespace {

struct UdevUnref {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using EnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;
using DevicePtr = std::unique_ptr<udev_device, UdevUnref>;

std::string text(const char* value) {
    return value ? value : "";
}

// Calls `visit` for every device of `subsystem` whose DEVTYPE is `devtype`. The device is
// owned here; parents reached from it belong to it and must not be unreferenced.
void forEachDevice(udev* context, const char* subsystem, const char* devtype,
                   const std::function<void(udev_device*)>& visit) {
    EnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate) return;
    if (udev_enumerate_add_match_subsystem(enumerate.get(), subsystem) < 0) return;
    if (devtype && udev_enumerate_add_match_property(enumerate.get(), "DEVTYPE", devtype) < 0) return;
    if (udev_enumerate_scan_devices(enumerate.get()) < 0) return;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
        DevicePtr device(udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
        if (device) visit(device.get());
    }
}

// A USB id as sysfs writes it ("2e7a"); false, `id` untouched, for anything else.
bool usbId(const std::string& written, std::uint16_t& id) {
    const auto value = text::parseHex(written, 0xFFFF);
    if (value) id = static_cast<std::uint16_t>(*value);
    return value.has_value();
}

// The USB device above `device` and its ids; false when there is none or its ids are unreadable.
bool usbParent(udev_device* device, std::string& sysname, std::uint16_t& vendor, std::uint16_t& product) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    if (!usb) return false;
    const std::string vendorText = text(udev_device_get_sysattr_value(usb, "idVendor"));
    const std::string productText = text(udev_device_get_sysattr_value(usb, "idProduct"));
    if (!usbId(vendorText, vendor) || !usbId(productText, product)) return false;
    sysname = text(udev_device_get_sysname(usb));
    return true;
}

std::string scsiParentPath(udev_device* device) {
    udev_device* scsi = udev_device_get_parent_with_subsystem_devtype(device, "scsi", "scsi_device");
    return scsi ? text(udev_device_get_syspath(scsi)) : std::string();
}

// A sysfs attribute as the kernel writes it, without its line feed; "" when it cannot be read.
// Read directly: libudev would first build a device, and canonicalise its path, for each folder.
std::string attribute(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[64];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    std::string value(buffer, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    while (!value.empty() && (value.back() == '\n' || value.back() == ' '))
        value.pop_back();
    return value;
}

// The block device a SCSI device carries ("sdb", "sr0"); "" when it carries none.
std::string blockBelow(const std::string& scsiPath) {
    std::string name;
    if (DIR* folder = ::opendir((scsiPath + "/block").c_str())) {
        while (const dirent* entry = ::readdir(folder))
            if (entry->d_name[0] != '.') {
                name = entry->d_name;
                break;
            }
        ::closedir(folder);
    }
    return name;
}

std::string parentPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The SCSI device of an sg node's syspath ("/sys/devices/.../1-2:1.0/host6/target6:0:0/6:0:0:0/
// scsi_generic/sg1"), filled in from the folders along that path: its USB device is the nearest
// folder above it with USB ids. False when the path has another shape.
bool scsiFromSgPath(const std::string& syspath, ScsiDeviceRecord& record) {
    const std::string scsiPath = parentPath(parentPath(syspath));
    if (syspath.compare(scsiPath.size(), 14, "/scsi_generic/") != 0) return false;
    const auto hctl = parseHctl(scsiPath.substr(scsiPath.find_last_of('/') + 1));
    if (!hctl) return false;
    record.hctl = *hctl;
    record.sgNumber = parseSgNumber(syspath.substr(syspath.find_last_of('/') + 1));
    record.blockName = blockBelow(scsiPath);
    if (!record.blockName.empty())
        record.removable = attribute(scsiPath + "/block/" + record.blockName + "/removable") == "1";
    for (std::string path = parentPath(scsiPath); path.size() > std::string_view("/sys/devices").size();
         path = parentPath(path)) {
        const std::string vendor = attribute(path + "/idVendor");
        if (vendor.empty()) continue;
        if (usbId(vendor, record.usbVendor) && usbId(attribute(path + "/idProduct"), record.usbProduct))
            record.usbSysname = path.substr(path.find_last_of('/') + 1);
        break;
    }
    return true;
}

// Adds the USB device above `record` to `usb` unless it is there already.
void addUsbDeviceOf(const ScsiDeviceRecord& record, std::vector<UsbDeviceRecord>& usb) {
    if (record.usbSysname.empty() || std::any_of(usb.begin(), usb.end(), [&](const UsbDeviceRecord& seen) {
            return seen.sysname == record.usbSysname;
        }))
        return;
    usb.push_back({record.usbSysname, record.usbVendor, record.usbProduct});
}

} // namespace

UdevDiskSystem::UdevDiskSystem(const CameraIds& camera) : m_camera(camera) {}

void UdevDiskSystem::scan(std::vector<UsbDeviceRecord>& usb, std::vector<ScsiDeviceRecord>& scsi,
                          UsbDevices which) {
    usb.clear();
    scsi.clear();
    UdevPtr context(udev_new());
    if (!context) return;

    if (which == UsbDevices::Every)
        forEachDevice(context.get(), "usb", "usb_device", [&](udev_device* device) {
            UsbDeviceRecord record;
            record.sysname = text(udev_device_get_sysname(device));
            const std::string vendor = text(udev_device_get_sysattr_value(device, "idVendor"));
            const std::string product = text(udev_device_get_sysattr_value(device, "idProduct"));
            if (usbId(vendor, record.vendor) && usbId(product, record.product))
                usb.push_back(std::move(record));
        });

    std::map<std::string, std::size_t> bySyspath; // scsi_device syspath -> index in `scsi`
    forEachDevice(context.get(), "scsi", "scsi_device", [&](udev_device* device) {
        const auto hctl = parseHctl(text(udev_device_get_sysname(device)));
        if (!hctl) return;
        ScsiDeviceRecord record;
        record.hctl = *hctl;
        if (!usbParent(device, record.usbSysname, record.usbVendor, record.usbProduct))
            record.usbSysname.clear();
        bySyspath.emplace(text(udev_device_get_syspath(device)), scsi.size());
        scsi.push_back(std::move(record));
    });

    forEachDevice(context.get(), "block", "disk", [&](udev_device* device) {
        const auto it = bySyspath.find(scsiParentPath(device));
        if (it == bySyspath.end()) return;
        ScsiDeviceRecord& record = scsi[it->second];
        record.blockName = text(udev_device_get_sysname(device));
        record.removable = text(udev_device_get_sysattr_value(device, "removable")) == "1";
    });

    forEachDevice(context.get(), "scsi_generic", nullptr, [&](udev_device* device) {
        const auto it = bySyspath.find(scsiParentPath(device));
        if (it == bySyspath.end()) return;
        scsi[it->second].sgNumber = parseSgNumber(text(udev_device_get_sysname(device)));
    });
}

UdevCatalog UdevDiskSystem::walk(UsbDevices which) const {
    std::vector<UsbDeviceRecord> usb;
    std::vector<ScsiDeviceRecord> scsi;
    scan(usb, scsi, which);
    if (which == UsbDevices::AboveDisks)
        // The USB devices the SCSI walk passed on its way up, each once.
        for (const ScsiDeviceRecord& record : scsi)
            addUsbDeviceOf(record, usb);
    return buildUdevCatalog(usb, scsi, m_camera);
}

std::vector<platform::DriveEntry> UdevDiskSystem::drives() {
    return walk(UsbDevices::AboveDisks).drives;
}

std::vector<platform::UsbDeviceNode> UdevDiskSystem::usbDevices() {
    return walk(UsbDevices::Every).usbDevices;
}

DiskSystem::Catalog UdevDiskSystem::catalog() {
    UdevCatalog both = walk(UsbDevices::AboveDisks);
    return {std::move(both.drives), std::move(both.usbDevices)};
}

DiskSystem::Catalog UdevDiskSystem::camerasCatalog(std::uint16_t vendor, std::uint16_t product) {
    std::vector<UsbDeviceRecord> usb;
    std::vector<ScsiDeviceRecord> scsi;
    if (UdevPtr context{udev_new()}) {
        EnumeratePtr enumerate(udev_enumerate_new(context.get()));
        if (enumerate && udev_enumerate_add_match_subsystem(enumerate.get(), "scsi_generic") >= 0 &&
            udev_enumerate_scan_devices(enumerate.get()) >= 0) {
            udev_list_entry* entry = nullptr;
            udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
                ScsiDeviceRecord record;
                if (!scsiFromSgPath(text(udev_list_entry_get_name(entry)), record) ||
                    record.usbSysname.empty() || record.usbVendor != vendor || record.usbProduct != product)
                    continue;
                addUsbDeviceOf(record, usb);
                scsi.push_back(std::move(record));
            }
        }
    }
    UdevCatalog cameras = buildUdevCatalog(usb, scsi, m_camera);
    return {std::move(cameras.drives), std::move(cameras.usbDevices)};
}

std::unique_ptr<platform::Disk> UdevDiskSystem::open(const std::string& openPath, int& errorCode) {
    return openSgIoDisk(openPath, errorCode);
}

std::string UdevDiskSystem::openAdvice(int errorCode) const {
    if (errorCode != EACCES && errorCode != EPERM) return {};
    return "This user may not open the camera's device node. Install the udev rule 70-trelvik.rules "
           "(sudo cp data/udev/70-trelvik.rules /etc/udev/rules.d/, then sudo udevadm control --reload "
           "&& sudo udevadm trigger) and plug the camera in again; the tool does not need root.";
}

std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem(const CameraIds& camera) {
    return std::make_unique<UdevDiskSystem>(camera);
}

std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem() {
    return makeNativeDiskSystem(kDefaultCameraIds);
}

} // namespace trelvik::platform
