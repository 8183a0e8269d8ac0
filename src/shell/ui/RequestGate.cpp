// SPDX-License-Identifier: MIT
#include "shell/ui/RequestGate.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimerEvent>

#include <utility>

#include <algorithm>
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
// A Load or Save is a run of short requests, each a millisecond or so, with a little window
// work between them. Both threads look for each other's news for this long before they sleep:
// a sleeping thread's wake-up would cost more than the tool's own share of a transfer.
constexpr auto kLookAhead = std::chrono::milliseconds(3);

// Holds back the timer ticks of the window's thread while it waits for a long request, and
// hands each timer one tick when the wait ends, as a blocked thread gets one WM_TIMER however
// many periods it missed. The event loop leaves timers out on X11 by itself; Windows' loop
// delivers them regardless, so the ticks are caught here, the same on every system.
class TimerHold final : public QObject {
public:
    TimerHold() { qApp->installEventFilter(this); }
    ~TimerHold() override {
        qApp->removeEventFilter(this);
        for (const auto& [receiver, timerId] : m_held)
            if (receiver) QCoreApplication::postEvent(receiver, new QTimerEvent(timerId));
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::Timer) return false;
        const int timerId = static_cast<QTimerEvent*>(event)->timerId();
        for (const auto& [held, id] : m_held)
            if (held == receiver && id == timerId) return true;
        m_held.emplace_back(receiver, timerId);
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, int>> m_held;
};

// Looks at `ready` until it holds or `span` has passed.
template <typename Ready> bool lookFor(Ready ready, std::chrono::steady_clock::duration span) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::yield();
    }
    return true;
}
} // namespace

RequestGate::RequestGate(std::chrono::milliseconds shortRequest, QObject* parent)
    : QObject(parent), m_shortRequest(shortRequest) {}

RequestGate::~RequestGate() {
    if (!m_worker.joinable()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

const RequestGate::Work* RequestGate::nextWork() {
    const auto arrived = [this] { return m_stop || m_work.load(std::memory_order_acquire); };
    if (!lookFor(arrived, kLookAhead)) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, arrived);
    }
    return m_stop ? nullptr : m_work.exchange(nullptr, std::memory_order_acq_rel);
}

void RequestGate::workerLoop() {
    while (const Work* work = nextWork()) {
        m_result = (*work)();
        {
            std::lock_guard lock(m_mutex);
            m_done.store(true);
        }
        m_wake.notify_all();
        // The window's thread may be in its loop: tell it the request ended. Both flags are
        // sequentially consistent, so of this look and the window's at m_done one sees the other.
        if (m_windowLoops.load())
            QMetaObject::invokeMethod(
                this, [] {}, Qt::QueuedConnection);
    }
}

void RequestGate::awaitEnd() {
    const auto done = [this] { return m_done.load(); };
    const auto lookAhead = std::min<std::chrono::milliseconds>(kLookAhead, m_shortRequest);
    if (lookFor(done, lookAhead)) return;
    {
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, m_shortRequest - lookAhead, done)) return;
    }
    // A long one: the window paints meanwhile, under the hourglass.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_windowLoops.store(true);
    {
        const TimerHold timers;
        QEventLoop loop;
        while (!done())
            loop.processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                               QEventLoop::X11ExcludeTimers | QEventLoop::WaitForMoreEvents);
    }
    m_windowLoops.store(false);
    QApplication::restoreOverrideCursor();
}

bool RequestGate::run(const Work& work) {
    if (m_busy) {
        debuglog::DebugLog("a camera request was refused: another one is still running\n");
        return false;
    }
    m_busy = true;
    if (!m_worker.joinable()) m_worker = std::thread([this] { workerLoop(); });
    m_done.store(false);
    {
        std::lock_guard lock(m_mutex);
        m_work.store(&work, std::memory_order_release);
    }
    m_wake.notify_all();
    awaitEnd();
    m_busy = false;
    emit idle();
    return m_result;
}

std::unique_ptr<platform::Disk> GatedDiskSystem::open(const std::string& openPath, int& errorCode) {
    std::unique_ptr<platform::Disk> disk = m_inner.open(openPath, errorCode);
    if (!disk) return nullptr;
    return std::make_unique<GatedDisk>(std::move(disk), m_gate);
}

} // namespace trelvik::shell
