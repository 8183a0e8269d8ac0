// SPDX-License-Identifier: MIT
#include "platform/linux/UdevDeviceWatch.h"

#include <fcntl.h>
#include <libudev.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/Native.h"

namespace trelvik::platform {

namespace {

std::string text(const char* value) {
    return value ? value : "";
}

bool isDriveName(std::string_view name) {
    return name.rfind("sd", 0) == 0 || name.rfind("sr", 0) == 0;
}

std::string upper(std::string value) {
    for (char& c : value)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return value;
}

// The first device of `subsystem` (and `devtype`) below the SCSI device that `device` hangs
// from: the sd/sr disk and the sg node of one LUN are siblings there. "" when there is none.
std::string siblingName(udev* context, udev_device* device, const char* subsystem, const char* devtype) {
    udev_device* scsi = udev_device_get_parent_with_subsystem_devtype(device, "scsi", "scsi_device");
    if (!scsi) return {};
    udev_enumerate* enumerate = udev_enumerate_new(context);
    if (!enumerate) return {};
    std::string name;
    if (udev_enumerate_add_match_parent(enumerate, scsi) >= 0 &&
        udev_enumerate_add_match_subsystem(enumerate, subsystem) >= 0 &&
        (!devtype || udev_enumerate_add_match_property(enumerate, "DEVTYPE", devtype) >= 0) &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate);
        if (entry) {
            const std::string path = text(udev_list_entry_get_name(entry));
            name = path.substr(path.find_last_of('/') + 1);
        }
    }
    udev_enumerate_unref(enumerate);
    return name;
}

// "usb:v2E7Ap0102" from the USB ids udev imported for the node; "" when it has none.
std::string idName(udev_device* device) {
    const std::string vendor = text(udev_device_get_property_value(device, "ID_VENDOR_ID"));
    const std::string product = text(udev_device_get_property_value(device, "ID_MODEL_ID"));
    if (vendor.empty() || product.empty()) return {};
    return "usb:v" + upper(vendor) + "p" + upper(product);
}

} // namespace

UdevDeviceWatch::UdevDeviceWatch() {
    m_udev = udev_new();
    if (m_udev) m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor) {
        m_error = std::string("udev monitor: ") + std::strerror(errno ? errno : ENODEV);
        return;
    }
    const bool filtered =
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "block", "disk") >= 0 &&
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "scsi_generic", nullptr) >= 0 &&
        udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "video4linux", nullptr) >= 0;
    if (!filtered || udev_monitor_enable_receiving(m_monitor) < 0) {
        m_error = std::string("udev monitor: ") + std::strerror(errno ? errno : EINVAL);
        udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    // drain() reads until nothing is left; a blocking socket would hang the window there.
    const int fd = udev_monitor_get_fd(m_monitor);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

UdevDeviceWatch::~UdevDeviceWatch() {
    if (m_monitor) udev_monitor_unref(m_monitor);
    if (m_udev) udev_unref(m_udev);
}

int UdevDeviceWatch::fd() const {
    return m_monitor ? udev_monitor_get_fd(m_monitor) : -1;
}

std::vector<DeviceEvent> UdevDeviceWatch::drain() {
    std::vector<DeviceEvent> events;
    if (!m_monitor) return events;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const std::string action = text(udev_device_get_action(device));
        const std::string subsystem = text(udev_device_get_subsystem(device));
        if (subsystem == "block")
            onDisk(device, action, events);
        else if (subsystem == "scsi_generic")
            onGeneric(device, action, events);
        else if (subsystem == "video4linux")
            onCapture(device, action, events);
        udev_device_unref(device);
    }
    return events;
}

void UdevDeviceWatch::arrived(const std::string& drive, std::vector<DeviceEvent>& events) {
    if (m_volumes.insert(drive).second)
        events.push_back(platform::volumeEvent(DeviceEventKind::VolumeArrived, drive));
}

// A disk is reported once it and its sg node are both there, whichever came last: the
// connection opens the sg node, and a disk announced before it would send the user to an
// error box.
void UdevDeviceWatch::onDisk(udev_device* device, const std::string& action,
                             std::vector<DeviceEvent>& events) {
    const std::string name = text(udev_device_get_sysname(device));
    if (!isDriveName(name)) return;
    if (action == "add") {
        if (!siblingName(m_udev, device, "scsi_generic", nullptr).empty()) arrived(name, events);
    } else if (action == "remove") {
        m_volumes.erase(name);
        events.push_back(platform::volumeEvent(DeviceEventKind::VolumeRemoved, name));
    }
}

void UdevDeviceWatch::onGeneric(udev_device* device, const std::string& action,
                                std::vector<DeviceEvent>& events) {
    if (action != "add") return;
    const std::string disk = siblingName(m_udev, device, "block", "disk");
    if (isDriveName(disk)) arrived(disk, events);
}

void UdevDeviceWatch::onCapture(udev_device* device, const std::string& action,
                                std::vector<DeviceEvent>& events) {
    const std::string path = text(udev_device_get_syspath(device));
    // uvcvideo adds a metadata node beside the capture node; only the capture one counts.
    const std::string capabilities = text(udev_device_get_property_value(device, "ID_V4L_CAPABILITIES"));
    if (!capabilities.empty() && capabilities.find(":capture:") == std::string::npos) return;
    DeviceEvent event;
    if (action == "add") {
        if (udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface"))
            event.deviceName = text(udev_device_get_sysattr_value(usb, "modalias"));
        if (event.deviceName.empty()) event.deviceName = idName(device);
        if (event.deviceName.empty()) return;
        event.kind = DeviceEventKind::CaptureArrived;
        m_captures[path] = event.deviceName;
    } else if (action == "remove") {
        // The USB interface is gone by now: the name is the one its arrival gave, or for a node
        // that was there before the watch, the ids udev kept.
        const auto known = m_captures.find(path);
        if (known != m_captures.end()) {
            event.deviceName = known->second;
            m_captures.erase(known);
        } else {
            event.deviceName = idName(device);
        }
        if (event.deviceName.empty()) return;
        event.kind = DeviceEventKind::CaptureRemoved;
    } else {
        return;
    }
    if (m_capture) events.push_back(event);
}

bool UdevDeviceWatch::watchCaptureDevices(bool on) {
    m_capture = on;
    return m_monitor != nullptr;
}

std::string UdevDeviceWatch::captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "usb:v%04Xp%04X", vendor, captureProduct);
    return prefix;
}

std::unique_ptr<DeviceWatch> makeNativeDeviceWatch() {
    return std::make_unique<UdevDeviceWatch>();
}

} // namespace trelvik::platform
