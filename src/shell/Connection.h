// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "link/CameraConnection.h"
#include "link/Discovery.h"
#include "platform/DeviceWatch.h"
#include "platform/DiskSystem.h"
#include "platform/TextCodec.h"
#include "shell/AppState.h"

namespace trelvik::shell {

// The main window's private messages (WM_USER with these numbers).
enum class PrivateMessage : int {
    Connect = 100,
    Disconnect = 101,
    CaptureArrived = 200,
    CaptureRemoved = 201,
    BringToFront = 999,
};

inline constexpr std::uint32_t kConnectedColour = 0xC0FFC0;
inline constexpr int kMsgCameraNotFound = 281;
inline constexpr int kMsgConnectCaption = 257;
inline constexpr int kMsgDisconnectCaption = 258;

// What the connection asks of the main window. The Qt window implements it; tests record it.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    // Queues `message` to be handed to Connection::handleMessage after the running handler
    // returns, in order (a posted message; Qt: a queued invokeMethod).
    virtual void post(PrivateMessage message) = 0;
    // Window colour as a 0x00BBGGRR word.
    virtual void setWindowColour(std::uint32_t bgr) = 0;
    // Lets the track bars repaint on a new window colour.
    virtual void refreshTrackBars() = 0;
    // Timer1: the one-second clock refresh.
    virtual void setClockTimerRunning(bool running) = 0;
    // Clicks TntButton_Load_Camera_Settings: every setting is read before this returns.
    virtual void loadCameraSettings() = 0;
    // Ticks the auto-connect check box; the toolkit then raises its click as for a user's.
    virtual void checkAutoConnectBox() = 0;
    virtual void setConnectButtonEnabled(bool enabled) = 0;
    virtual void setConnectButtonCaption(const std::u16string& caption) = 0;
    // Starts or shows the preview program, and asks it to close.
    virtual void showPreviewProgram() = 0;
    virtual void closePreviewProgram() = 0;
    // Restores, shows and raises the window.
    virtual void bringToFront() = 0;
};

struct ConnectionServices {
    platform::DiskSystem& disks;
    link::CameraIds ids;
    const AppState& state; // its ToolMode decides boxes, captions and the flash-save flag
    i18n::Reporter& reporter;
    const i18n::MessageCatalog& catalog;
    const platform::TextCodec& codec;
    platform::DeviceWatch* watch = nullptr; // none: no capture-device news
};

// The letter of the lowest of bits 0-25 ('A' + index), or 0 when none of them is set.
// Example: 0x30 -> 'E'; 0x04000000 -> 0.
char DriveLetterFromUnitMask(std::uint32_t unitMask);

// True when `name` starts with `prefix`, letters compared without regard to case.
bool HasCameraNamePrefix(std::string_view name, std::string_view prefix);

// The one place that opens and closes the camera: connecting by device arrival or by the
// Connect button, and everything that follows a connection (colour, timer, loading settings).
// Runs on the GUI thread only.
class Connection {
public:
    Connection(ConnectionServices services, ConnectionView& view);

    // Opens the first camera drive as CameraHandle: 1, else 0 after a box told the user why.
    int OpenCamera();
    void CloseCamera();
    void BeginConnection();
    void EndConnection();
    void SetAutoConnect(int on);

    // The window's handler of its private messages; a posted message arrives here from the
    // queue, a sent one is this call made directly.
    void handleMessage(PrivateMessage message);
    // One device event of the system (WM_DEVICECHANGE), acted upon only while AutoConnect.
    void handleDeviceEvent(const platform::DeviceEvent& event);
    // TntCheckBox_Camera_Auto_ConnectClick, with the box's new state.
    void autoConnectClicked(bool checked);
    // TntButton_ConnectClick.
    void connectClicked();

    // The end of start-up: tick the check box, switch auto-connect on, try the camera once
    // and, when it is there, post the connect.
    void startUp();
    // The window closes: a connection made by the button ends and its handle closes.
    void formClose();

    // CameraHandle: the window's one way to the camera, open while connected; every request
    // fails at once, without a transfer, while not.
    link::CameraConnection& camera() { return m_camera; }
    const link::CameraConnection& camera() const { return m_camera; }
    bool connectionActive() const { return m_connectionActive; }
    bool connectedByButton() const { return m_connectedByButton; }
    bool autoConnect() const { return m_autoConnect; }
    const std::string& cameraNamePrefix() const { return m_cameraNamePrefix; }

private:
    void connect();
    void disconnect();
    void onVolume(const platform::DeviceEvent& event, bool arrival);
    void onCapture(const platform::DeviceEvent& event, bool arrival);
    std::u16string buttonCaption(int msgId) const;

    ConnectionServices m_services;
    ConnectionView& m_view;
    link::CameraConnection m_camera;
    bool m_connectionActive = false;
    bool m_connectedByButton = false;
    bool m_autoConnect = false;
    bool m_captureRegistered = false;
    int m_checkBoxTag = 0;
    std::string m_cameraNamePrefix;
};

} // namespace trelvik::shell
