// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <poll.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ChangeSignal.h"
#include "platform/DeviceWatch.h"
#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"
#include "support/Files.h"

using namespace trelvik;

namespace {

bool readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, 0) == 1;
}

TEST(UdevDeviceWatch, StartsAndHasNothingToSayWhileNothingIsPlugged) {
    const auto watch = platform::makeNativeDeviceWatch();
    ASSERT_NE(watch, nullptr);
    // A machine without udev (a container) still gets a watch, one that says why it is quiet.
    EXPECT_TRUE(watch->fd() >= 0 || !watch->error().empty());
    EXPECT_TRUE(watch->watchCaptureDevices(true) || !watch->error().empty());
    EXPECT_TRUE(watch->drain().empty());
    EXPECT_EQ(watch->captureNamePrefix(0x2E7A, 0x0102), "usb:v2E7Ap0102");
    EXPECT_FALSE(watch->takeNativeMessage(nullptr));
}

TEST(InterfaceName, TellsNarrowFromWideByTheSecondByte) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string narrow;
        std::u16string wide;
    } cases[] = {
        {{'\\', '\\', '?', '\\', 'U', 0, 'x'}, "\\\\?\\U", u""},
        {{'\\', 0, '\\', 0, '?', 0, 0xE9, 0, 0, 0, 'x', 0}, "", u"\\\\?\u00E9"},
        {{'a', 'b'}, "ab", u""},   // no terminator: the record's end
        {{'a', 0, 'b'}, "", u"a"}, // half a unit at the end is dropped
        {{'a'}, "", u""},          // too short to tell: nothing
        {{}, "", u""},
    };
    for (const Case& c : cases) {
        platform::DeviceEvent event;
        event.deviceName = "old";
        platform::setInterfaceName(event, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(event.deviceName, c.narrow);
        EXPECT_EQ(event.wideDeviceName, c.wide);
    }
}

TEST(ChangeSignal, WakesForItsOwnRaiseAndForItsFileOnly) {
    trelvik::testing::TempDir dir("trelvik-signal");
    const auto file = dir / "cam.json";
    std::string error;
    const auto signal = platform::makeChangeSignal(file.string(), error);
    ASSERT_NE(signal, nullptr) << error;
    struct Step {
        const char* what;
        std::function<void()> act;
        bool wakes;
        bool counts;
    } steps[] = {
        {"nothing", [] {}, false, false},
        {"raise", [&] { signal->raise(); }, true, true},
        {"raise twice", [&] { signal->raise(), signal->raise(); }, true, true},
        {"another file", [&] { trelvik::testing::writeText(dir / "cam.json.log", "x"); }, true, false},
        {"the file written", [&] { trelvik::testing::writeText(file, "x"); }, true, true},
        {"the file replaced",
         [&] {
             trelvik::testing::writeText(dir / "tmp", "y");
             std::filesystem::rename(dir / "tmp", file);
         },
         true, true},
        {"the file removed", [&] { std::filesystem::remove(file); }, true, true},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(readable(signal->fd()), step.wakes) << step.what;
        EXPECT_EQ(signal->take(), step.counts) << step.what;
        EXPECT_FALSE(readable(signal->fd())) << step.what;
    }
}

TEST(ChangeSignal, AFolderThatIsNotThereIsNamed) {
    std::string error;
    EXPECT_EQ(platform::makeChangeSignal("/nonexistent-trelvik/cam.json", error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
}

TEST(UdevDiskSystem, AdvisesTheUdevRuleOnlyWhenPermissionIsMissing) {
    const auto disks = platform::makeNativeDiskSystem();
    const struct {
        int code;
        bool advised;
    } cases[] = {{EACCES, true}, {EPERM, true}, {ENOENT, false}, {EBUSY, false}, {0, false}};
    for (const auto& c : cases) {
        const std::string advice = disks->openAdvice(c.code);
        EXPECT_EQ(advice.find("70-trelvik.rules") != std::string::npos, c.advised) << c.code;
        EXPECT_EQ(advice.empty(), !c.advised) << c.code;
    }
}

} // namespace
