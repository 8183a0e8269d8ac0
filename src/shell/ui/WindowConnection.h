// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <memory>
#include <vector>

#include "platform/DeviceWatch.h"
#include "platform/ProgramWindows.h"
#include "shell/Connection.h"
#include "shell/Preview.h"
#include "shell/ui/RequestGate.h"

class QCheckBox;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace trelvik::shell {

class TForm1;

// Joins the window to the connection rules: the check box, the Connect button, Timer1, the
// system's device news and the preview program. Posted messages become queued calls on the
// window's thread, so they run after the current handler returns, in order.
class WindowConnection final : public QObject, public ConnectionView, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `watch` (may be null: no device news), `windows` and `gate` (may be null: requests
    // block the window) must outlive this object.
    WindowConnection(TForm1& form, const ConnectionServices& services, platform::ProgramWindows& windows,
                     const AppState& state, char pathSeparator, RequestGate* gate = nullptr);
    ~WindowConnection() override;

    Connection& connection() { return m_connection; }

    // The end of start-up: switch auto-connect on and try the camera once.
    void startUp() { m_connection.startUp(); }
    // The window closes.
    void formClose() { m_connection.formClose(); }

    void post(PrivateMessage message) override;
    void setWindowColour(std::uint32_t bgr) override;
    void refreshTrackBars() override;
    void setClockTimerRunning(bool running) override;
    void loadCameraSettings() override;
    void checkAutoConnectBox() override;
    void setConnectButtonEnabled(bool enabled) override;
    void setConnectButtonCaption(const std::u16string& caption) override;
    void showPreviewProgram() override;
    void closePreviewProgram() override;
    void bringToFront() override;

    // Systems that deliver device news as window messages (Windows) hand them over here.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A connection began or ended: what works only with a camera follows.
    void connectedChanged(bool connected);

private:
    void drainDeviceNews();
    // A posted message's turn: held back while a camera request runs, then handled in order.
    void deliver(PrivateMessage message);

    TForm1& m_form;
    platform::DeviceWatch* m_watch;
    Connection m_connection;
    PreviewLauncher m_preview;
    QCheckBox* m_autoConnect = nullptr;
    QPushButton* m_connectButton = nullptr;
    QPushButton* m_loadButton = nullptr;
    QTimer* m_clock = nullptr;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_poll = nullptr;
    RequestGate* m_gate = nullptr;
    std::vector<PrivateMessage> m_heldBack;
};

} // namespace trelvik::shell
