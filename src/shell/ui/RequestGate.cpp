// SPDX-License-Identifier: MIT
#include "shell/ui/RequestGate.h"

#include <QApplication>
#include <QEventLoop>

#include <chrono>

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

namespace {
// Most requests end within this; waiting for them as a blocking call would keeps a run of a
// hundred requests from paying for a hundred event loops. Longer ones get the loop.
constexpr auto kShortRequest = std::chrono::milliseconds(20);
} // namespace

RequestGate::RequestGate(QObject* parent) : QObject(parent) {}

RequestGate::~RequestGate() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void RequestGate::workerLoop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_work; });
        if (m_stop) return;
        const std::function<bool()>* work = m_work;
        lock.unlock();
        const bool result = (*work)();
        lock.lock();
        m_work = nullptr;
        m_result = result;
        m_done = true;
        m_wake.notify_all();
        // The window's thread may be in its loop: tell it the request ended.
        QMetaObject::invokeMethod(
            this, [] {}, Qt::QueuedConnection);
    }
}

bool RequestGate::run(const std::function<bool()>& work) {
    if (m_busy) {
        debuglog::DebugLog("a camera request was refused: another one is still running\n");
        return false;
    }
    m_busy = true;
    if (!m_worker.joinable()) m_worker = std::thread([this] { workerLoop(); });
    std::unique_lock lock(m_mutex);
    m_done = false;
    m_work = &work;
    m_wake.notify_all();
    if (!m_wake.wait_for(lock, kShortRequest, [this] { return m_done; })) {
        // A long one: the window paints meanwhile, under the hourglass.
        lock.unlock();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QEventLoop loop;
        for (;;) {
            {
                std::lock_guard check(m_mutex);
                if (m_done) break;
            }
            loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                               QEventLoop::X11ExcludeTimers | QEventLoop::WaitForMoreEvents);
        }
        QApplication::restoreOverrideCursor();
        lock.lock();
    }
    const bool result = m_result;
    lock.unlock();
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
