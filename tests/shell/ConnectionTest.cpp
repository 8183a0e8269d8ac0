// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"
#include "shell/Connection.h"
#include "sim/CameraFirmware.h"
#include "sim/SimDeviceWatch.h"
#include "sim/SimDiskSystem.h"
#include "support/RecordingBoxPresenter.h"

using namespace trelvik;
using platform::DeviceEvent;
using platform::DeviceEventKind;
using shell::PrivateMessage;

namespace {

// The simulated camera under another drive name, and optionally refusing to open, so the
// letter rules and the open failure can be met with the same camera.
class RenamedCamera : public platform::DiskSystem {
public:
    explicit RenamedCamera(sim::SimDiskSystem& camera) : m_camera(camera) {}
    std::string driveName = sim::kSimDriveName;
    int openError = 0;

    std::vector<platform::DriveEntry> drives() override {
        auto list = m_camera.drives();
        for (auto& drive : list)
            drive.name = driveName;
        return list;
    }
    std::vector<platform::UsbDeviceNode> usbDevices() override { return m_camera.usbDevices(); }
    std::unique_ptr<platform::Disk> open(const std::string& path, int& errorCode) override {
        if (openError == 0) return m_camera.open(path, errorCode);
        errorCode = openError;
        return nullptr;
    }
    // What the system's own disks advise, so the box shows what a user would read.
    std::string openAdvice(int errorCode) const override {
        return platform::makeNativeDiskSystem()->openAdvice(errorCode);
    }

private:
    sim::SimDiskSystem& m_camera;
};

class RecordingView : public shell::ConnectionView {
public:
    std::vector<std::string> calls;
    std::deque<PrivateMessage> queue;
    shell::Connection* connection = nullptr;

    void post(PrivateMessage message) override {
        calls.push_back("post " + std::to_string(static_cast<int>(message)));
        queue.push_back(message);
    }
    void setWindowColour(std::uint32_t bgr) override {
        char text[16];
        std::snprintf(text, sizeof text, "colour %06X", bgr);
        calls.push_back(text);
    }
    void refreshTrackBars() override { calls.push_back("trackbars"); }
    void setClockTimerRunning(bool running) override { calls.push_back(running ? "timer on" : "timer off"); }
    void loadCameraSettings() override { calls.push_back("load"); }
    void checkAutoConnectBox() override {
        calls.push_back("check box");
        connection->autoConnectClicked(true); // the toolkit's click on a programmatic tick
    }
    void setConnectButtonEnabled(bool enabled) override {
        calls.push_back(enabled ? "button on" : "button off");
    }
    void setConnectButtonCaption(const std::u16string& caption) override {
        calls.push_back("caption " + std::string(caption.begin(), caption.end()));
    }
    void showPreviewProgram() override { calls.push_back("preview show"); }
    void closePreviewProgram() override { calls.push_back("preview close"); }
    void bringToFront() override { calls.push_back("front"); }
};

struct Rig {
    explicit Rig(cmdtable::ToolMode mode) {
        state.ToolMode = mode;
        view.connection = &connection;
    }
    // Hands every waiting device event to the connection, as the window's notifier would.
    void feed() {
        for (const DeviceEvent& event : watch.drain())
            connection.handleDeviceEvent(event);
    }
    // Runs the posted messages in order, including those they post.
    void run() {
        while (!view.queue.empty()) {
            const PrivateMessage message = view.queue.front();
            view.queue.pop_front();
            connection.handleMessage(message);
        }
    }
    std::vector<std::string> commands() const {
        std::vector<std::string> names;
        for (const auto& record : camera.commandLog())
            names.push_back(sim::commandName(record.cdb, record.direction));
        return names;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const auto& text : presenter.texts())
            texts.push_back(codec->toNarrow(text));
        return texts;
    }

    sim::SimDiskSystem camera{sim::factoryState(),
                              sim::SimOptions{.sleep = [](std::chrono::milliseconds) {}}};
    sim::SimDeviceWatch watch{camera};
    RenamedCamera disks{camera};
    std::unique_ptr<platform::ProfileReader> profile = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    trelvik::testing::RecordingBoxPresenter presenter;
    i18n::MessageCatalog catalog{*profile, *codec};
    i18n::Reporter reporter{presenter, catalog, *codec};
    shell::AppState state;
    RecordingView view;
    shell::Connection connection{{disks, link::kDefaultCameraIds, state, reporter, catalog, *codec, &watch},
                                 view};
};

using Step = std::function<void(Rig&)>;
const Step start = [](Rig& r) { r.connection.startUp(); };
const Step run = [](Rig& r) { r.run(); };
const Step feed = [](Rig& r) { r.feed(); };
const Step plug = [](Rig& r) { r.camera.plug(); };
const Step unplug = [](Rig& r) { r.camera.unplug(); };
const Step toPcCam = [](Rig& r) {
    r.camera.update([](sim::CameraState& s) { s.mode = sim::CameraMode::PcCam; });
};
const Step click = [](Rig& r) { r.connection.connectClicked(); };
Step tick(bool checked) {
    return [checked](Rig& r) { r.connection.autoConnectClicked(checked); };
}
Step message(PrivateMessage m) {
    return [m](Rig& r) { r.connection.handleMessage(m); };
}
Step event(DeviceEvent e) {
    return [e](Rig& r) { r.connection.handleDeviceEvent(e); };
}
Step named(std::string drive) {
    return [drive](Rig& r) { r.disks.driveName = drive; };
}
DeviceEvent volume(DeviceEventKind kind, std::uint32_t mask, std::string drive = {}) {
    DeviceEvent e;
    e.kind = kind;
    e.unitMask = mask;
    e.drive = std::move(drive);
    return e;
}
DeviceEvent capture(DeviceEventKind kind, std::string narrow, std::u16string wide = {}) {
    DeviceEvent e;
    e.kind = kind;
    e.deviceName = std::move(narrow);
    e.wideDeviceName = std::move(wide);
    return e;
}

// Start-up with the camera there: the box ticked (its first click absorbed), auto-connect on,
// one trial open, and the connect that start-up posts.
const std::vector<std::string> kStartedConnected = {"check box", "button off", "post 100", "colour C0FFC0",
                                                    "trackbars", "timer on",   "load"};
const std::vector<std::string> kDisconnected = {"timer off", "colour D8E9EC", "trackbars"};

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Case {
    const char* name;
    cmdtable::ToolMode mode;
    std::vector<Step> steps;
    std::vector<std::string> calls;
    std::vector<std::string> boxes;
    std::vector<std::string> commands; // what reached the camera
    bool connectedAfter;
};

TEST(Connection, FollowsTheDeviceEventsButtonAndCheckBox) {
    using K = DeviceEventKind;
    constexpr auto Full = cmdtable::ToolMode::Full;
    constexpr auto Settings = cmdtable::ToolMode::Settings;
    const std::string camName = "usb:v2E7Ap0102d0100dcEFdsc02dp01ic0Eisc01ip00in00";
    const Case cases[] = {
        {"start-up connects and sets the flash-save flag in the full tool",
         Full,
         {start, run},
         kStartedConnected,
         {},
         {"QZSSVFL"},
         true},
        {"the settings tool leaves the flash-save flag alone",
         Settings,
         {start, run},
         kStartedConnected,
         {},
         {},
         true},
        {"start-up without a camera says so and stays apart",
         Full,
         {unplug, feed, start, run},
         {"check box", "button off"},
         {"USB Device not found!"},
         {},
         false},
        {"the settings tool says it by message 281",
         Settings,
         {unplug, feed, start, run},
         {"check box", "button off"},
         {"<n/a:0119>"},
         {},
         false},
        {"unplugging while connected disconnects",
         Full,
         {start, run, unplug, feed, run},
         join({kStartedConnected, {"post 101"}, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"plugging back in connects again and reloads",
         Full,
         {start, run, unplug, feed, run, plug, feed, run},
         join({kStartedConnected,
               {"post 101"},
               kDisconnected,
               {"post 100", "colour C0FFC0", "trackbars", "timer on", "load"}}),
         {},
         {"QZSSVFL", "QZSSVFL"},
         true},
        {"a second connect while connected opens afresh without reloading",
         Full,
         {start, run, message(PrivateMessage::Connect)},
         join({kStartedConnected, {"colour C0FFC0", "trackbars"}}),
         {},
         {"QZSSVFL", "QZSSVFL"},
         true},
        {"another drive's removal keeps the camera",
         Full,
         {start, run, event(volume(K::VolumeRemoved, 0, "sdc"))},
         kStartedConnected,
         {},
         {"QZSSVFL"},
         true},
        {"another drive's arrival is ignored",
         Full,
         {start, run, event(volume(K::VolumeArrived, 0, "sdc"))},
         kStartedConnected,
         {},
         {"QZSSVFL"},
         true},
        {"a unit mask whose lowest letter is the camera's connects",
         Full,
         {named("F:"), start, run, message(PrivateMessage::Disconnect), event(volume(K::VolumeArrived, 0x60)),
          run},
         join({kStartedConnected,
               kDisconnected,
               {"post 100", "colour C0FFC0", "trackbars", "timer on", "load"}}),
         {},
         {"QZSSVFL", "QZSSVFL"},
         true},
        {"a unit mask whose lowest letter is another drive's does not",
         Full,
         {named("F:"), start, run, message(PrivateMessage::Disconnect), event(volume(K::VolumeArrived, 0x50)),
          run},
         join({kStartedConnected, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"a unit mask with no drive bits never matches",
         Full,
         {named("F:"), start, run, message(PrivateMessage::Disconnect),
          event(volume(K::VolumeArrived, 0xFC000000u)), event(volume(K::VolumeArrived, 0)), run},
         join({kStartedConnected, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"a removal that names any letter disconnects once the camera is gone",
         Full,
         {named("F:"), start, run, unplug, event(volume(K::VolumeRemoved, 0x4)), run},
         join({kStartedConnected, {"post 101"}, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"the capture device in narrow and wide form starts and closes the preview",
         Full,
         {start, run, event(capture(K::CaptureArrived, camName)),
          event(capture(K::CaptureRemoved, "", u"USB:V2e7aP0102d0100")), run},
         join({kStartedConnected, {"post 200", "post 201", "preview show", "preview close"}}),
         {},
         {"QZSSVFL"},
         true},
        {"other capture devices are ignored",
         Full,
         {start, run, event(capture(K::CaptureArrived, "usb:v046Dp0825d0010")),
          event(capture(K::CaptureArrived, "usb:v2E7Ap01")), run},
         kStartedConnected,
         {},
         {"QZSSVFL"},
         true},
        {"the switch to PC-camera mode disconnects and starts the preview",
         Full,
         {start, run, toPcCam, feed, run},
         join({kStartedConnected, {"post 101", "post 200"}, kDisconnected, {"preview show"}}),
         {},
         {"QZSSVFL"},
         false},
        {"unticking the box disconnects at once and enables the button",
         Full,
         {start, run, tick(false)},
         join({kStartedConnected, {"button on"}, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"with the box clear, plugging and unplugging change nothing",
         Full,
         {start, run, tick(false), unplug, feed, plug, feed, toPcCam, feed, run},
         join({kStartedConnected, {"button on"}, kDisconnected}),
         {},
         {"QZSSVFL"},
         false},
        {"ticking it again does not reconnect until the next arrival",
         Full,
         {start, run, tick(false), tick(true), run, unplug, feed, plug, feed, run},
         join({kStartedConnected,
               {"button on"},
               kDisconnected,
               {"button off", "post 101", "post 100", "colour D8E9EC", "trackbars", "colour C0FFC0",
                "trackbars", "timer on", "load"}}),
         {},
         {"QZSSVFL", "QZSSVFL"},
         true},
        {"the button connects and disconnects by hand",
         Full,
         {unplug, feed, start, tick(false), plug, feed, click, click},
         {"check box", "button off", "button on", "colour C0FFC0", "trackbars", "timer on", "load",
          "caption Disconnect", "timer off", "colour D8E9EC", "trackbars", "caption Connect"},
         {"USB Device not found!"},
         {"QZSSVFL"},
         false},
        {"the button without a camera leaves its caption",
         Full,
         {unplug, feed, start, tick(false), click},
         {"check box", "button off", "button on"},
         {"USB Device not found!", "USB Device not found!"},
         {},
         false},
        {"the settings tool's captions come from the message file",
         Settings,
         {unplug, feed, start, tick(false), plug, feed, click, click},
         {"check box", "button off", "button on", "colour C0FFC0", "trackbars", "timer on", "load",
          "caption <n/a:0102>", "timer off", "colour D8E9EC", "trackbars", "caption <n/a:0101>"},
         {"<n/a:0119>"},
         {},
         false},
        {"a connection by button survives auto-connect until the camera goes",
         Full,
         {unplug, feed, start, tick(false), plug, feed, click, tick(true), unplug, feed, run},
         {"check box", "button off", "button on", "colour C0FFC0", "trackbars", "timer on", "load",
          "caption Disconnect", "button off", "post 101", "timer off", "colour D8E9EC", "trackbars"},
         {"USB Device not found!"},
         {"QZSSVFL"},
         false},
        {"bring to front", Full, {message(PrivateMessage::BringToFront)}, {"front"}, {}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.mode);
        for (const Step& step : c.steps)
            step(rig);
        EXPECT_EQ(rig.view.calls, c.calls);
        EXPECT_EQ(rig.boxes(), c.boxes);
        EXPECT_EQ(rig.commands(), c.commands);
        EXPECT_EQ(rig.connection.connectionActive(), c.connectedAfter);
        EXPECT_EQ(rig.connection.camera().isOpen(), c.connectedAfter);
    }
}

// Each system numbers "access denied" its own way and says its own remedy.
TEST(Connection, AnOpenRefusedForPermissionSaysWhatToDo) {
    struct Refusal {
        int code;
        const char* advice;
    };
    const Refusal refusals[] = {{13, "70-trelvik.rules"}, {5, "administrator"}};
    const auto native = platform::makeNativeDiskSystem();
    int seen = 0;
    for (const Refusal& refusal : refusals) {
        if (!native->deniesAccess(refusal.code)) continue;
        ++seen;
        Rig rig(cmdtable::ToolMode::Settings);
        rig.disks.openError = refusal.code;
        rig.connection.startUp();
        rig.run();
        ASSERT_EQ(rig.boxes().size(), 1u);
        const std::string box = rig.boxes()[0];
        EXPECT_EQ(box.rfind("Error opening sim:camera. Error: " + std::to_string(refusal.code) + "\n", 0), 0u)
            << box;
        EXPECT_NE(box.find(refusal.advice), std::string::npos) << box;
        EXPECT_EQ(rig.view.calls, (std::vector<std::string>{"check box", "button off"}));
    }
    EXPECT_EQ(seen, 1) << "the native disk system names one of these codes access denied";
}

TEST(Connection, AnOpenRefusedForAnotherReasonShowsOnlyTheNumber) {
    Rig rig(cmdtable::ToolMode::Full);
    rig.disks.openError = 2;
    rig.connection.startUp();
    EXPECT_EQ(rig.boxes(), (std::vector<std::string>{"Error opening sim:camera. Error: 2\n"}));
}

TEST(Connection, WritesTheDebugLinesOfEachDeviceEvent) {
    Rig rig(cmdtable::ToolMode::Full);
    rig.disks.driveName = "F:";
    rig.connection.SetAutoConnect(1);
    debuglog::DebugCapture debug;
    rig.connection.handleDeviceEvent(volume(DeviceEventKind::VolumeArrived, 0x20));
    rig.connection.handleDeviceEvent(volume(DeviceEventKind::VolumeArrived, 0));
    rig.connection.handleDeviceEvent(volume(DeviceEventKind::VolumeRemoved, 0, "sdc"));
    rig.connection.handleDeviceEvent(
        capture(DeviceEventKind::CaptureRemoved, "", u"\\\\?\\USB#Vid_2E7A&Pid_0102#x"));
    rig.connection.handleDeviceEvent(capture(DeviceEventKind::CaptureArrived, "usb:v2E7Ap0102d0100"));
    EXPECT_EQ(debug.lines(),
              (std::vector<std::string>{
                  "QZ::--- DBT_DEVICEARRIVAL ---",
                  "QZ::cDriveLetter=F",
                  "QZ::Device Found!",
                  "QZ::--- DBT_DEVICEARRIVAL ---",
                  "QZ::cDriveLetter=",
                  "QZ::--- DBT_DEVICEREMOVECOMPLETE ---",
                  "QZ::drive=sdc",
                  "QZ::--- DBT_DEVICEREMOVECOMPLETE ---",
                  "QZ::WM_DEVICECHANGE/DBT_DEVICEREMOVECOMPLETE: dbcc_name:\\\\?\\USB#Vid_2E7A&Pid_0102#x",
                  "QZ::--- DBT_DEVICEARRIVAL ---",
                  "QZ::WM_DEVICECHANGE/DBT_DEVICEARRIVAL: dbcc_name:usb:v2E7Ap0102d0100",
                  "QZ::Device Found!",
              }));
}

TEST(Connection, ClosingEndsOnlyAConnectionMadeByTheButton) {
    struct Case {
        bool byButton;
        std::vector<std::string> closeCalls;
        bool handleAfter;
    } cases[] = {{false, {"preview close"}, true}, {true, {"timer off", "preview close"}, false}};
    for (const Case& c : cases) {
        Rig rig(cmdtable::ToolMode::Full);
        rig.connection.startUp();
        if (c.byButton) {
            rig.connection.autoConnectClicked(false);
            rig.connection.connectClicked();
        } else {
            rig.run();
        }
        rig.view.calls.clear();
        rig.connection.formClose();
        EXPECT_EQ(rig.view.calls, c.closeCalls) << c.byButton;
        EXPECT_EQ(rig.connection.camera().isOpen(), c.handleAfter) << c.byButton;
    }
}

TEST(DriveLetterFromUnitMask, TakesTheLowestOfTheTwentySixLetterBits) {
    const std::pair<std::uint32_t, char> cases[] = {
        {0x1, 'A'}, {0x20, 'F'},    {0x60, 'F'},      {0x2000000, 'Z'},
        {0x0, 0},   {0x4000000, 0}, {0xFC000000u, 0}, {0x84000000u | 0x8, 'D'}};
    for (const auto& [mask, letter] : cases)
        EXPECT_EQ(shell::DriveLetterFromUnitMask(mask), letter) << std::hex << mask;
}

TEST(HasCameraNamePrefix, ComparesOverThePrefixWithoutCase) {
    const struct {
        const char* name;
        bool matches;
    } cases[] = {{"usb:v2E7Ap0102d0100", true},
                 {"USB:V2e7aP0102", true},
                 {"usb:v2E7Ap010", false},
                 {"usb:v2E7Ap0101d0100", false},
                 {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(shell::HasCameraNamePrefix(c.name, "usb:v2E7Ap0102"), c.matches) << c.name;
}

} // namespace
