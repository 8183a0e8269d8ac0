// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The system's news about devices coming and going: volumes (the camera as a disk) and
// video-capture devices (the camera as a webcam). A watch is polled: an event loop waits for
// fd() to become readable (Qt: a QSocketNotifier) and then calls drain(). A system that
// delivers its news as window messages instead (Windows) has no descriptor; its messages are
// handed in with takeNativeMessage() and drained at once.
namespace trelvik::platform {

enum class DeviceEventKind { VolumeArrived, VolumeRemoved, CaptureArrived, CaptureRemoved };

// One device that came or went. Volumes carry `unitMask` (Windows) or `drive` (elsewhere);
// capture devices carry their name in exactly one of `deviceName` and `wideDeviceName`.
struct DeviceEvent {
    DeviceEventKind kind = DeviceEventKind::VolumeArrived;
    // The volume's drive letters as bits, bit 0 = A:, as Windows announces volumes; 0 where
    // volumes have no letters. Example: 0x20 for F:
    std::uint32_t unitMask = 0;
    // The volume as the disk system's catalog names it (DriveEntry::name) where there are no
    // letters. Example: "sdb", "simcam"
    std::string drive;
    // The capture device's name as the system delivered it, narrow or wide.
    // Examples: "usb:v2E7Ap0102d0100dcEFdsc02dp01ic0Eisc01ip00in00",
    // u"\\\\?\\USB#VID_2E7A&PID_0102&MI_00#6&1a2b3c&0&0000#{65e8773d-...}\\global"
    std::string deviceName;
    std::u16string wideDeviceName;

    bool operator==(const DeviceEvent&) const = default;
};

// A volume that came or went, named as the disk system's catalog names it.
inline DeviceEvent volumeEvent(DeviceEventKind kind, std::string drive) {
    DeviceEvent event;
    event.kind = kind;
    event.drive = std::move(drive);
    return event;
}

// A capture device that came or went, with the narrow name the system gave it.
inline DeviceEvent captureEvent(DeviceEventKind kind, std::string deviceName) {
    DeviceEvent event;
    event.kind = kind;
    event.deviceName = std::move(deviceName);
    return event;
}

class DeviceWatch {
public:
    virtual ~DeviceWatch() = default;
    // Readable while drain() has something to say; -1 when the watch has no descriptor.
    virtual int fd() const = 0;
    // The events since the last call, oldest first. Never blocks.
    virtual std::vector<DeviceEvent> drain() = 0;
    // Capture devices are reported only while this is on (Windows: the registration for the
    // capture interface class). False when the system refused; volumes are reported anyway.
    virtual bool watchCaptureDevices(bool on) = 0;
    // The start of every name this watch gives the camera's capture device.
    // Examples: "usb:v2E7Ap0102" (Linux, the USB modalias), "\\\\?\\USB#Vid_2E7A&Pid_0102" (Windows)
    virtual std::string captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const = 0;
    // Why the watch reports nothing, "" while it works. Example: "udev monitor: Permission denied"
    virtual std::string error() const { return {}; }
    // Windows: the window (HWND) that the system sends its device messages to. Others ignore it.
    virtual void setNativeWindow(void* /*window*/) {}
    // Windows: one window message (a MSG*) that a native event filter caught; true when it was
    // a device message, whose events drain() then returns. Others take nothing.
    virtual bool takeNativeMessage(const void* /*message*/) { return false; }
};

// Splits the name of a device-interface record as Windows delivers it into an event: a name
// whose second byte is not zero is narrow text, else wide (UTF-16LE); either ends at its first
// terminator or at the end of `bytes`. Example: {'\\','\\','?',...} -> deviceName "\\\\?...".
inline void setInterfaceName(DeviceEvent& event, const std::uint8_t* bytes, std::size_t size) {
    event.deviceName.clear();
    event.wideDeviceName.clear();
    if (size >= 2 && bytes[1] != 0) {
        for (std::size_t i = 0; i < size && bytes[i] != 0; ++i)
            event.deviceName.push_back(static_cast<char>(bytes[i]));
        return;
    }
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        event.wideDeviceName.push_back(unit);
    }
}

} // namespace trelvik::platform
