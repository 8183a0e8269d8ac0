// SPDX-License-Identifier: MIT
#include "shell/ui/WindowConnection.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include "shell/ui/MainWindow.h"

namespace trelvik::shell {

namespace {
// A watch without a descriptor is asked this often; the simulated camera promises news
// within a second.
constexpr int kPollIntervalMs = 250;
} // namespace

WindowConnection::WindowConnection(TForm1& form, const ConnectionServices& services,
                                   platform::ProgramWindows& windows, const AppState& state,
                                   char pathSeparator, RequestGate* gate)
    : QObject(&form), m_form(form), m_watch(services.watch), m_connection(services, *this),
      m_preview(windows, state, pathSeparator), m_gate(gate) {
    if (m_gate)
        connect(m_gate, &RequestGate::idle, this, [this] {
            std::vector<PrivateMessage> held;
            held.swap(m_heldBack);
            for (PrivateMessage message : held)
                post(message);
        });
    m_autoConnect = form.findChild<QCheckBox*>("TntCheckBox_Camera_Auto_Connect");
    m_connectButton = form.findChild<QPushButton*>("TntButton_Connect");
    m_loadButton = form.findChild<QPushButton*>("TntButton_Load_Camera_Settings");
    m_clock = form.findChild<QTimer*>("Timer1");
    // toggled, not clicked: ticking the box from start-up must reach the handler too, which
    // absorbs that first one.
    if (m_autoConnect)
        connect(m_autoConnect, &QCheckBox::toggled, this,
                [this](bool checked) { m_connection.autoConnectClicked(checked); });
    if (m_connectButton)
        connect(m_connectButton, &QPushButton::clicked, this, [this] { m_connection.connectClicked(); });
    if (!m_watch) return;
    m_watch->setNativeWindow(reinterpret_cast<void*>(form.winId()));
    QCoreApplication::instance()->installNativeEventFilter(this);
    if (m_watch->fd() >= 0) {
        m_notifier = new QSocketNotifier(m_watch->fd(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { drainDeviceNews(); });
    } else {
        m_poll = new QTimer(this);
        m_poll->setInterval(kPollIntervalMs);
        connect(m_poll, &QTimer::timeout, this, [this] { drainDeviceNews(); });
        m_poll->start();
    }
}

WindowConnection::~WindowConnection() {
    if (m_watch) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowConnection::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/) {
    // The message goes on to the window's own handling whatever it was, as device messages
    // always have.
    if (eventType == "windows_generic_MSG" && m_watch->takeNativeMessage(message)) drainDeviceNews();
    return false;
}

void WindowConnection::drainDeviceNews() {
    for (const platform::DeviceEvent& event : m_watch->drain())
        m_connection.handleDeviceEvent(event);
}

void WindowConnection::post(PrivateMessage message) {
    QMetaObject::invokeMethod(
        this, [this, message] { deliver(message); }, Qt::QueuedConnection);
}

void WindowConnection::deliver(PrivateMessage message) {
    // Posted calls still arrive while a request runs (the window must paint); a connect or
    // disconnect then would start a second request, so it waits for the first to end.
    if (m_gate && m_gate->busy()) {
        m_heldBack.push_back(message);
        return;
    }
    m_connection.handleMessage(message);
}

void WindowConnection::setWindowColour(std::uint32_t bgr) {
    m_form.setWindowColour(bgr);
}

void WindowConnection::refreshTrackBars() {
    m_form.RefreshTrackBars();
}

void WindowConnection::setClockTimerRunning(bool running) {
    // The clock ticks exactly while a connection is active: it starts as one begins and stops
    // as it ends.
    emit connectedChanged(running);
    if (!m_clock) return;
    if (running)
        m_clock->start();
    else
        m_clock->stop();
}

void WindowConnection::loadCameraSettings() {
    if (m_loadButton) m_loadButton->click();
}

void WindowConnection::checkAutoConnectBox() {
    if (m_autoConnect) m_autoConnect->setChecked(true);
}

void WindowConnection::setConnectButtonEnabled(bool enabled) {
    if (m_connectButton) m_connectButton->setEnabled(enabled);
}

void WindowConnection::setConnectButtonCaption(const std::u16string& caption) {
    if (m_connectButton) m_connectButton->setText(QString::fromStdU16String(caption));
}

void WindowConnection::showPreviewProgram() {
    m_preview.ShowPreviewProgram(m_connection.cameraNamePrefix());
}

void WindowConnection::closePreviewProgram() {
    m_preview.ClosePreviewProgram();
}

void WindowConnection::bringToFront() {
    m_form.bringToFront();
}

} // namespace trelvik::shell
