// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/DiskSystem.h"

namespace trelvik::shell {

// One camera request at a time, and a window that keeps painting while it runs. A request
// can take long (a probed card format runs for minutes, a camera that stopped answering holds
// it until its timeout): it runs on a worker thread while the window's thread waits in a
// local loop that paints and delivers posted events, but holds back user input, timer ticks
// and device news until the request has ended, as a blocking call would.
class RequestGate final : public QObject {
    Q_OBJECT
public:
    // Most requests end within this; waiting for them as a blocking call would keeps a run of a
    // hundred requests from paying for a hundred event loops. Longer ones get the loop.
    static constexpr std::chrono::milliseconds kShortRequest{20};

    // `shortRequest`: how long the window's thread waits for a request before its event loop
    // takes over.
    explicit RequestGate(std::chrono::milliseconds shortRequest = kShortRequest, QObject* parent = nullptr);
    ~RequestGate() override;

    bool busy() const { return m_busy; }

    // Runs `work` to its end and returns what it returned. False at once, without running
    // it, when a request is already in flight: two requests must never overlap on a camera.
    bool run(const std::function<bool()>& work);

signals:
    // A request ended; work held back because of it may go on.
    void idle();

private:
    using Work = std::function<bool()>;
    // The worker that carries every request, started with the first and kept: a thread per
    // request cost more than the request itself.
    void workerLoop();
    // The next request for the worker, null when the gate closes.
    const Work* nextWork();
    // Waits for the worker to end the request, the window painting when it takes long.
    void awaitEnd();

    const std::chrono::milliseconds m_shortRequest;
    bool m_busy = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<const Work*> m_work{nullptr}; // the request to run; null when none
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_windowLoops{false}; // the window's thread waits in its event loop
    bool m_result = false;
    std::thread m_worker;
};

// A disk system whose disks carry every request through the gate; the rest is the inner
// system's.
class GatedDiskSystem final : public platform::DiskSystemDecorator {
public:
    // `inner` and `gate` must outlive this object and the disks it opens.
    GatedDiskSystem(platform::DiskSystem& inner, RequestGate& gate)
        : DiskSystemDecorator(inner), m_gate(gate) {}
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override;

private:
    RequestGate& m_gate;
};

} // namespace trelvik::shell
