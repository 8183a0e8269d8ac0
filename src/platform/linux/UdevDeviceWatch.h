// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DeviceWatch.h"

struct udev;
struct udev_device;
struct udev_monitor;

namespace trelvik::platform {

// Device news from udev: whole sd/sr disks (volumes, named as the drive catalog names them)
// and video4linux capture nodes (named by the modalias of their USB interface). It listens to
// "udev" events, sent after the rules ran, so a reported node already has its permissions.
class UdevDeviceWatch final : public DeviceWatch {
public:
    UdevDeviceWatch();
    ~UdevDeviceWatch() override;
    UdevDeviceWatch(const UdevDeviceWatch&) = delete;
    UdevDeviceWatch& operator=(const UdevDeviceWatch&) = delete;

    // The monitor's socket; -1 when udev could not be reached (error() says why).
    int fd() const override;
    std::vector<DeviceEvent> drain() override;
    bool watchCaptureDevices(bool on) override;
    // "usb:v%04Xp%04X", the start of the USB interface's modalias.
    std::string captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const override;
    std::string error() const override { return m_error; }

private:
    void onDisk(udev_device* device, const std::string& action, std::vector<DeviceEvent>& events);
    void onGeneric(udev_device* device, const std::string& action, std::vector<DeviceEvent>& events);
    void onCapture(udev_device* device, const std::string& action, std::vector<DeviceEvent>& events);
    void arrived(const std::string& drive, std::vector<DeviceEvent>& events);

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    std::string m_error;
    bool m_capture = false;
    std::set<std::string> m_volumes;               // drives reported as arrived and not yet removed
    std::map<std::string, std::string> m_captures; // syspath -> name reported on arrival
};

} // namespace trelvik::platform
