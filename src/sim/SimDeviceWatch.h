// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/Discovery.h"
#include "platform/ChangeSignal.h"
#include "platform/DeviceWatch.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::sim {

// The simulated camera's name as a capture device, the modalias of a UVC interface as Linux
// shows it. Example: "usb:v2E7Ap0102d0100dcEFdsc02dp01ic0Eisc01ip00in00"
std::string simCaptureDeviceName(const link::CameraIds& ids);

// Device news of the simulated camera, as a real camera's would come from the system: its drive
// kSimDriveName arrives and leaves as a volume, its PC-camera personality as a capture device.
// Changes made through the camera object are seen at once; with a state file, so are the
// `plugged` and `mode` another process writes, as soon as its rename lands. A state file that
// turns unusable writes one debug line and counts as the camera gone; it is left untouched.
class SimDeviceWatch final : public platform::DeviceWatch {
public:
    // `camera` must outlive the watch, which takes over its event listener.
    explicit SimDeviceWatch(SimDiskSystem& camera);
    ~SimDeviceWatch() override;
    SimDeviceWatch(const SimDeviceWatch&) = delete;
    SimDeviceWatch& operator=(const SimDeviceWatch&) = delete;

    // -1 when no descriptor could be made (error() says why): then call drain() from a timer.
    int fd() const override;
    std::vector<platform::DeviceEvent> drain() override;
    bool watchCaptureDevices(bool on) override;
    // "usb:v%04Xp%04X", as on Linux.
    std::string captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const override;
    std::string error() const override { return m_error; }

private:
    enum class Presence { None, Disk, Capture };
    void onEvent(SimEvent event);
    // Reports leaving the present personality and arriving as `now`. Caller holds m_mutex.
    void moveTo(Presence now);

    SimDiskSystem& m_camera;
    std::unique_ptr<platform::ChangeSignal> m_signal;
    std::string m_error;
    std::mutex m_mutex; // the camera's listener may run on whichever thread sent a command
    std::vector<platform::DeviceEvent> m_pending;
    Presence m_presence = Presence::None;
    bool m_capture = false;
    bool m_fileBroken = false;
};

} // namespace trelvik::sim
