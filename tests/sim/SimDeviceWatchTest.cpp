// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <poll.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "sim/SimDeviceWatch.h"
#include "sim/StateJson.h"
#include "support/Files.h"

using namespace trelvik;
using platform::DeviceEvent;
using platform::DeviceEventKind;

namespace {

const std::string kCaptureName = "usb:v2E7Ap0102d0100dcEFdsc02dp01ic0Eisc01ip00in00";

// Events as one readable line each, so whole sequences compare at a glance.
std::vector<std::string> describe(const std::vector<DeviceEvent>& events) {
    std::vector<std::string> lines;
    for (const DeviceEvent& e : events) {
        switch (e.kind) {
        case DeviceEventKind::VolumeArrived:
            lines.push_back("volume+ " + e.drive);
            break;
        case DeviceEventKind::VolumeRemoved:
            lines.push_back("volume- " + e.drive);
            break;
        case DeviceEventKind::CaptureArrived:
            lines.push_back("capture+ " + e.deviceName);
            break;
        case DeviceEventKind::CaptureRemoved:
            lines.push_back("capture- " + e.deviceName);
            break;
        }
    }
    return lines;
}

// Waits at most `limit` for the watch's descriptor, then drains it: the events a window would
// get within that time.
std::vector<std::string> waitAndDrain(platform::DeviceWatch& watch, int limitMs = 1000) {
    pollfd entry{watch.fd(), POLLIN, 0};
    ::poll(&entry, 1, limitMs);
    return describe(watch.drain());
}

bool readable(const platform::DeviceWatch& watch) {
    pollfd entry{watch.fd(), POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
}

// Replaces the state file as another process does: a temporary file beside it, then a rename.
void replaceFile(const std::filesystem::path& path, const std::string& text) {
    const auto temporary = path.string() + ".other";
    trelvik::testing::writeText(temporary, text);
    std::filesystem::rename(temporary, path);
}

using Change = std::function<void(sim::SimDiskSystem&)>;
const Change unplug = [](sim::SimDiskSystem& c) { c.unplug(); };
const Change plug = [](sim::SimDiskSystem& c) { c.plug(); };
const Change toPcCam = [](sim::SimDiskSystem& c) {
    c.update([](sim::CameraState& s) { s.mode = sim::CameraMode::PcCam; });
};

struct Case {
    const char* name;
    bool capture; // capture devices watched
    std::vector<Change> changes;
    std::vector<std::string> events;
};

const Case kCases[] = {
    {"unplug and plug", true, {unplug, plug}, {"volume- simcam", "volume+ simcam"}},
    {"unplug twice reports once", true, {unplug, unplug}, {"volume- simcam"}},
    {"the switch to PC-camera mode", true, {toPcCam}, {"volume- simcam", "capture+ " + kCaptureName}},
    {"PC-camera mode without capture watching", false, {toPcCam}, {"volume- simcam"}},
    {"unplugged in PC-camera mode, back as a disk",
     true,
     {toPcCam, unplug, plug},
     {"volume- simcam", "capture+ " + kCaptureName, "capture- " + kCaptureName, "volume+ simcam"}},
};

TEST(SimDeviceWatch, ReportsChangesMadeInThisProcess) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        sim::SimDiskSystem camera;
        sim::SimDeviceWatch watch(camera);
        ASSERT_GE(watch.fd(), 0) << watch.error();
        watch.watchCaptureDevices(c.capture);
        EXPECT_FALSE(readable(watch));
        for (const Change& change : c.changes)
            change(camera);
        EXPECT_TRUE(readable(watch));
        EXPECT_EQ(describe(watch.drain()), c.events);
        EXPECT_FALSE(readable(watch));
    }
}

TEST(SimDeviceWatch, ReportsWhatAnotherProcessWritesWithinASecond) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        trelvik::testing::TempDir dir("trelvik-watch");
        const std::string path = (dir / "cam.json").string();
        sim::SimDiskSystem watched(path, {});
        sim::SimDiskSystem other(path, {});
        sim::SimDeviceWatch watch(watched);
        watch.watchCaptureDevices(c.capture);
        std::vector<std::string> seen;
        for (const Change& change : c.changes) {
            change(other);
            for (const std::string& line : waitAndDrain(watch))
                seen.push_back(line);
        }
        EXPECT_EQ(seen, c.events);
    }
}

TEST(SimDeviceWatch, AStateFileTurnedToGarbageIsTheCameraGoneAndLeftAlone) {
    trelvik::testing::TempDir dir("trelvik-watch");
    const auto path = dir / "cam.json";
    sim::SimDiskSystem watched(path.string(), {});
    sim::SimDeviceWatch watch(watched);
    debuglog::DebugCapture debug;
    std::vector<std::string> seen;
    const std::vector<std::string> texts = {"{not json", "still not", sim::formatState(sim::factoryState())};
    for (const std::string& text : texts) {
        replaceFile(path, text);
        for (const std::string& line : waitAndDrain(watch))
            seen.push_back(line);
        if (text == "still not") EXPECT_EQ(trelvik::testing::readText(path), "still not");
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"volume- simcam", "volume+ simcam"}));
    ASSERT_EQ(debug.lines().size(), 1u);
    EXPECT_EQ(debug.lines()[0].rfind("QZ::simulated camera: state file " + path.string() + " is unusable", 0),
              0u)
        << debug.lines()[0];
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TEST(SimDeviceWatch, ManyPlugCyclesAndWatchesLeaveNoDescriptorOpen) {
    trelvik::testing::TempDir dir("trelvik-watch");
    const std::string path = (dir / "cam.json").string();
    sim::SimDiskSystem other(path, {});
    const std::size_t before = openDescriptors();
    std::size_t events = 0;
    for (int round = 0; round < 20; ++round) {
        sim::SimDiskSystem watched(path, {});
        sim::SimDeviceWatch watch(watched);
        for (int cycle = 0; cycle < 10; ++cycle) {
            other.unplug();
            events += waitAndDrain(watch).size();
            other.plug();
            events += waitAndDrain(watch).size();
        }
    }
    EXPECT_EQ(events, 400u);
    EXPECT_EQ(openDescriptors(), before);
}

} // namespace
