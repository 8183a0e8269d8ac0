// SPDX-License-Identifier: MIT
#include "shell/ui/RequestGate.h"

#include <QApplication>
#include <QEventLoop>

#include <thread>

#include "debuglog/DebugLog.h"

namespace trelvik::shell {

namespace {

class GatedDisk final : public platform::Disk {
public:
    GatedDisk(std::unique_ptr<platform::Disk> inner, RequestGate& gate)
        : m_inner(std::move(inner)), m_gate(gate) {}
    bool send(const platform::ScsiRequest& request) override {
        return m_gate.run([&] { return m_inner->send(request); });
    }

private:
    std::unique_ptr<platform::Disk> m_inner;
    RequestGate& m_gate;
};

} // namespace

RequestGate::RequestGate(QObject* parent) : QObject(parent) {}

bool RequestGate::run(const std::function<bool()>& work) {
    if (m_busy) {
        debuglog::DebugLog("a camera request was refused: another one is still running\n");
        return false;
    }
    m_busy = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool result = false;
    QEventLoop loop;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
              QEventLoop::X11ExcludeTimers);
    worker.join();
    QApplication::restoreOverrideCursor();
    m_busy = false;
    emit idle();
    return result;
}

std::unique_ptr<platform::Disk> GatedDiskSystem::open(const std::string& openPath, int& errorCode) {
    std::unique_ptr<platform::Disk> disk = m_inner.open(openPath, errorCode);
    if (!disk) return nullptr;
    return std::make_unique<GatedDisk>(std::move(disk), m_gate);
}

} // namespace trelvik::shell
