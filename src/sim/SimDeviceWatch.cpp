// SPDX-License-Identifier: MIT
#include "sim/SimDeviceWatch.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "debuglog/DebugLog.h"
#include "platform/PlainFile.h"

namespace trelvik::sim {

std::string simCaptureDeviceName(const link::CameraIds& ids) {
    char name[64];
    std::snprintf(name, sizeof name, "usb:v%04Xp%04Xd0100dcEFdsc02dp01ic0Eisc01ip00in00", ids.vendor,
                  ids.captureProduct);
    return name;
}

SimDeviceWatch::SimDeviceWatch(SimDiskSystem& camera) : m_camera(camera) {
    std::string file = camera.statePath();
    if (!file.empty()) {
        // Whoever reaches the state file through a link writes where the link leads.
        std::error_code ec;
        const auto target = std::filesystem::canonical(platform::filesystemPath(file), ec);
        if (!ec) file = platform::narrowPath(target);
    }
    m_signal = platform::makeChangeSignal(file, m_error);
    if (!m_signal) m_error = "cannot watch the simulated camera: " + m_error;
    if (const auto state = camera.state(); state && state->plugged)
        m_presence = state->mode == CameraMode::Disk ? Presence::Disk : Presence::Capture;
    m_camera.setEventListener([this](SimEvent event) { onEvent(event); });
}

SimDeviceWatch::~SimDeviceWatch() {
    m_camera.setEventListener({});
}

int SimDeviceWatch::fd() const {
    return m_signal ? m_signal->fd() : -1;
}

void SimDeviceWatch::onEvent(SimEvent event) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        switch (event) {
        case SimEvent::DiskRemoved:
            if (m_presence == Presence::Disk) moveTo(Presence::None);
            break;
        case SimEvent::CaptureRemoved:
            if (m_presence == Presence::Capture) moveTo(Presence::None);
            break;
        case SimEvent::DiskArrived:
            moveTo(Presence::Disk);
            break;
        case SimEvent::CaptureArrived:
            moveTo(Presence::Capture);
            break;
        }
    }
    if (m_signal) m_signal->raise();
}

void SimDeviceWatch::moveTo(Presence now) {
    if (now == m_presence) return;
    using Kind = platform::DeviceEventKind;
    const std::string captureName = simCaptureDeviceName(m_camera.ids());
    // Leaving the old personality comes first, as the system reports a device going away
    // before the one that replaces it.
    if (m_presence == Presence::Disk)
        m_pending.push_back(platform::volumeEvent(Kind::VolumeRemoved, kSimDriveName));
    else if (m_presence == Presence::Capture && m_capture)
        m_pending.push_back(platform::captureEvent(Kind::CaptureRemoved, captureName));
    if (now == Presence::Disk)
        m_pending.push_back(platform::volumeEvent(Kind::VolumeArrived, kSimDriveName));
    else if (now == Presence::Capture && m_capture)
        m_pending.push_back(platform::captureEvent(Kind::CaptureArrived, captureName));
    m_presence = now;
}

std::vector<platform::DeviceEvent> SimDeviceWatch::drain() {
    // Without a descriptor the caller polls, so every call looks at the file.
    const bool changed = m_signal ? m_signal->take() : true;
    if (changed && !m_camera.statePath().empty()) {
        // Reading the state tells the listener of another process's change; what the listener
        // cannot see is a file that broke or came back.
        const auto state = m_camera.state();
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!state) {
            if (!m_fileBroken) debuglog::DebugLog("simulated camera: %s", m_camera.error().c_str());
            m_fileBroken = true;
            moveTo(Presence::None);
        } else {
            m_fileBroken = false;
            moveTo(!state->plugged                   ? Presence::None
                   : state->mode == CameraMode::Disk ? Presence::Disk
                                                     : Presence::Capture);
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_pending, {});
}

bool SimDeviceWatch::watchCaptureDevices(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_capture = on;
    return true;
}

std::string SimDeviceWatch::captureNamePrefix(std::uint16_t vendor, std::uint16_t captureProduct) const {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "usb:v%04Xp%04X", vendor, captureProduct);
    return prefix;
}

} // namespace trelvik::sim
