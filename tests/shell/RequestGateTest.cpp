// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "shell/ui/RequestGate.h"

namespace trelvik::shell {
namespace {

// One long request, seen from the window's thread: posted work (paints among it) goes on, a
// timer tick waits for the end, and a second request asked for meanwhile is refused. Without a
// short wait the window's loop takes over at once, and the request is long by its own doing: it
// ends only once the window's thread has run the work it posted.
TEST(RequestGate, LongRequestKeepsPostedWorkGoingAndHoldsBackTimers) {
    RequestGate gate(std::chrono::milliseconds(0));
    std::vector<std::string> seen;
    QTimer tick;
    tick.setSingleShot(true);
    QObject::connect(&tick, &QTimer::timeout, [&] { seen.push_back("tick"); });
    tick.start(0);
    std::thread::id worker;
    bool second = true;
    std::promise<void> postedRan;

    const bool result = gate.run([&] {
        worker = std::this_thread::get_id();
        QMetaObject::invokeMethod(
            qApp,
            [&] {
                seen.push_back(gate.busy() ? "posted, while busy" : "posted, after");
                second = gate.run([] { return true; });
                postedRan.set_value();
            },
            Qt::QueuedConnection);
        return postedRan.get_future().wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    });
    seen.push_back("request ended");
    QApplication::processEvents();

    EXPECT_TRUE(result);
    EXPECT_FALSE(second);
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_FALSE(gate.busy());
    EXPECT_EQ(seen, (std::vector<std::string>{"posted, while busy", "request ended", "tick"}));
}

} // namespace
} // namespace trelvik::shell
