// SPDX-License-Identifier: MIT
#include "shell/Connection.h"

#include <cctype>
#include <vector>

#include "debuglog/DebugLog.h"
#include "link/CameraFacts.h"
#include "link/VendorCommands.h"
#include "shell/StartupSequence.h"

namespace trelvik::shell {

using debuglog::DebugLog;
using platform::DeviceEventKind;

namespace {

// Room the tool has always given FindCameraDisk.
// Longest capture-device name looked at, as the narrow copy of the name has always been cut.
constexpr std::size_t kMaxDeviceNameBytes = 256;

bool isFull(const AppState& state) {
    return state.ToolMode == cmdtable::ToolMode::Full;
}

} // namespace

char DriveLetterFromUnitMask(std::uint32_t unitMask) {
    for (int bit = 0; bit < 26; ++bit)
        if (unitMask & (std::uint32_t{1} << bit)) return static_cast<char>('A' + bit);
    return 0;
}

bool HasCameraNamePrefix(std::string_view name, std::string_view prefix) {
    if (name.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

Connection::Connection(ConnectionServices services, ConnectionView& view)
    : m_services(std::move(services)), m_view(view),
      m_camera(m_services.disks, m_services.ids, link::CameraConnection::Opening::Explicit) {}

int Connection::OpenCamera() {
    // A disk of an earlier connection is closed by the replacement: nothing uses it afterwards.
    m_camera.close();
    const link::Outcome opened = m_camera.open();
    if (opened) return 1;
    const link::ConnectionError& error = opened.error();
    if (error.kind == link::ConnectionError::Kind::NoCamera) {
        if (isFull(m_services.state))
            m_services.reporter.ErrorBox("USB Device not found!");
        else
            m_services.reporter.ShowMsgById(kMsgCameraNotFound);
        return 0;
    }
    const std::string advice = m_services.disks.openAdvice(error.errorCode);
    m_services.reporter.ErrorBox("Error opening %s. Error: %d\n%s", error.path.c_str(), error.errorCode,
                                 advice.c_str());
    return 0;
}

void Connection::CloseCamera() {
    m_camera.close();
}

void Connection::BeginConnection() {
    if (m_connectionActive) return;
    m_connectionActive = true;
    m_view.setClockTimerRunning(true);
    m_view.loadCameraSettings();
}

void Connection::EndConnection() {
    if (!m_connectionActive) return;
    m_connectionActive = false;
    m_view.setClockTimerRunning(false);
}

void Connection::SetAutoConnect(int on) {
    platform::DeviceWatch* watch = m_services.watch;
    if (!on) {
        m_autoConnect = false;
        if (m_captureRegistered) {
            if (watch && !watch->watchCaptureDevices(false))
                DebugLog("UnregisterDeviceNotification() failed");
            m_captureRegistered = false;
        }
        m_view.setConnectButtonEnabled(true);
        return;
    }
    m_autoConnect = true;
    // A refused registration is not reported: volumes still come, capture devices do not.
    if (watch) m_captureRegistered = watch->watchCaptureDevices(true);
    m_cameraNamePrefix =
        watch ? watch->captureNamePrefix(m_services.ids.vendor, m_services.ids.captureProduct) : "";
    m_view.setConnectButtonEnabled(false);
}

void Connection::handleMessage(PrivateMessage message) {
    switch (message) {
    case PrivateMessage::Connect:
        connect();
        break;
    case PrivateMessage::Disconnect:
        disconnect();
        break;
    case PrivateMessage::CaptureArrived:
        m_view.showPreviewProgram();
        break;
    case PrivateMessage::CaptureRemoved:
        m_view.closePreviewProgram();
        break;
    case PrivateMessage::BringToFront:
        m_view.bringToFront();
        break;
    }
}

void Connection::connect() {
    if (!OpenCamera()) return;
    m_view.setWindowColour(kConnectedColour);
    m_view.refreshTrackBars();
    BeginConnection();
    // The camera keeps what is written from now on; whether it agreed changes nothing here.
    if (isFull(m_services.state) && m_camera.isOpen()) m_camera.setFlashSave(link::kFlashSaveKeep);
}

void Connection::disconnect() {
    EndConnection();
    m_view.setWindowColour(kWindowColour);
    m_view.refreshTrackBars();
    CloseCamera();
}

void Connection::handleDeviceEvent(const platform::DeviceEvent& event) {
    if (!m_autoConnect) return;
    switch (event.kind) {
    case DeviceEventKind::VolumeArrived:
        return onVolume(event, true);
    case DeviceEventKind::VolumeRemoved:
        return onVolume(event, false);
    case DeviceEventKind::CaptureArrived:
        return onCapture(event, true);
    case DeviceEventKind::CaptureRemoved:
        return onCapture(event, false);
    }
}

void Connection::onCapture(const platform::DeviceEvent& event, bool arrival) {
    DebugLog(arrival ? "--- DBT_DEVICEARRIVAL ---" : "--- DBT_DEVICEREMOVECOMPLETE ---");
    std::string name =
        event.wideDeviceName.empty() ? event.deviceName : m_services.codec.toNarrow(event.wideDeviceName);
    if (name.size() > kMaxDeviceNameBytes) name.resize(kMaxDeviceNameBytes);
    DebugLog(arrival ? "WM_DEVICECHANGE/DBT_DEVICEARRIVAL: dbcc_name:%s"
                     : "WM_DEVICECHANGE/DBT_DEVICEREMOVECOMPLETE: dbcc_name:%s",
             name.c_str());
    if (m_cameraNamePrefix.empty() || !HasCameraNamePrefix(name, m_cameraNamePrefix)) return;
    DebugLog("Device Found!");
    m_view.post(arrival ? PrivateMessage::CaptureArrived : PrivateMessage::CaptureRemoved);
}

void Connection::onVolume(const platform::DeviceEvent& event, bool arrival) {
    DebugLog(arrival ? "--- DBT_DEVICEARRIVAL ---" : "--- DBT_DEVICEREMOVECOMPLETE ---");
    // Windows names the volume by its letters, other systems by the catalog's drive name.
    std::string drive = event.drive;
    if (drive.empty()) {
        const char letter = DriveLetterFromUnitMask(event.unitMask);
        if (letter) {
            DebugLog("cDriveLetter=%c", letter);
            drive = std::string{letter, ':'};
        } else {
            DebugLog("cDriveLetter=");
        }
    } else {
        DebugLog("drive=%s", drive.c_str());
    }
    std::vector<platform::DriveEntry> found;
    link::FindCameraDisk(m_services.disks, m_services.ids.vendor, m_services.ids.diskProduct, &found);
    if (arrival) {
        if (!found.empty() && !drive.empty() && found.front().name == drive) {
            DebugLog("Device Found!");
            m_view.post(PrivateMessage::Connect);
        }
    } else if (found.empty()) {
        DebugLog("Device Found!");
        m_view.post(PrivateMessage::Disconnect);
    }
}

void Connection::autoConnectClicked(bool checked) {
    // The first click is the one the toolkit raises when start-up ticks the box.
    if (m_checkBoxTag == 0) {
        m_checkBoxTag = 1;
        return;
    }
    SetAutoConnect(checked ? 1 : 0);
    if (!checked && m_connectionActive) handleMessage(PrivateMessage::Disconnect);
}

std::u16string Connection::buttonCaption(int msgId) const {
    // The full tool has no message file; these are the captions its button has always meant.
    if (isFull(m_services.state)) return msgId == kMsgConnectCaption ? u"Connect" : u"Disconnect";
    return m_services.catalog.GetMsgText(msgId);
}

void Connection::connectClicked() {
    if (m_connectedByButton) {
        handleMessage(PrivateMessage::Disconnect);
        if (m_connectionActive) return;
        m_connectedByButton = false;
        m_view.setConnectButtonCaption(buttonCaption(kMsgConnectCaption));
        return;
    }
    handleMessage(PrivateMessage::Connect);
    if (!m_connectionActive) return;
    m_connectedByButton = true;
    m_view.setConnectButtonCaption(buttonCaption(kMsgDisconnectCaption));
}

void Connection::startUp() {
    m_view.checkAutoConnectBox();
    SetAutoConnect(1);
    m_camera.close();
    if (!OpenCamera()) return;
    CloseCamera();
    m_view.post(PrivateMessage::Connect);
}

void Connection::formClose() {
    if (m_connectedByButton) {
        EndConnection();
        CloseCamera();
    }
    m_view.closePreviewProgram();
}

} // namespace trelvik::shell
