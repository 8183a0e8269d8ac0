// SPDX-License-Identifier: MIT
// The window's hot-plug handling on the real libudev monitor and SG_IO carrier under the mock
// kernel, step by step beside the state-file camera: both must look the same to a person.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WindowTool.h"
#include "link/VendorCommands.h"
#include "platform/linux/UdevDeviceWatch.h"
#include "platform/linux/UdevDiskSystem.h"
#include "shell/ui/WindowConnection.h"
#include "sim/SimDeviceWatch.h"
#include "sim/SimDiskSystem.h"
#include "support/umockdev/MockDevices.h"

namespace trelvik::shell {
namespace {

// The preview program as far as the window can tell: started, shown, asked to close.
class RecordingWindows : public platform::ProgramWindows {
public:
    platform::FoundWindow findWindow(std::string_view, std::string_view) override {
        if (!running) return {platform::WindowLookup::NotFound, 0};
        return {platform::WindowLookup::Found, 1};
    }
    void showNormal(platform::WindowId) override { calls.push_back("show"); }
    void requestClose(platform::WindowId) override {
        calls.push_back("close");
        running = false;
    }
    bool startProgram(const std::string&, const std::vector<std::string>& arguments) override {
        calls.push_back("start " + (arguments.empty() ? std::string() : arguments.front()));
        running = true;
        return true;
    }
    std::string executableSuffix() const override { return ""; }

    std::vector<std::string> calls;
    bool running = false;
};

// A camera with its device news: how a step plugs it, pulls it and lets it leave PC-camera mode.
struct Rig {
    virtual ~Rig() = default;
    virtual platform::DiskSystem& disks() = 0;
    virtual platform::DeviceWatch& watch() = 0;
    virtual void plug() = 0;
    virtual void unplug() = 0;
    // Back from PC-camera mode: the capture device leaves, the disk arrives.
    virtual void backToDisk() = 0;
    // Another vendor's disk comes or goes (nothing to do where there is only the camera).
    virtual void foreignDisk(bool) {}
    // Lets the camera act on what it was told (the mock kernel's changes are made here).
    virtual void pump() {}
    // The CDBs the camera received, oldest first, as upper-case hex.
    virtual std::vector<std::string> cdbs() = 0;
};

struct StateFileRig final : Rig {
    testing::TempDir dir{"trelvik-hotplug"};
    sim::SimDiskSystem camera{(dir / "cam.json").string(), {}};
    sim::SimDeviceWatch news{camera};
    platform::DiskSystem& disks() override { return camera; }
    platform::DeviceWatch& watch() override { return news; }
    void plug() override { camera.plug(); }
    void unplug() override { camera.unplug(); }
    void backToDisk() override { camera.unplug(), camera.plug(); }
    std::vector<std::string> cdbs() override {
        std::vector<std::string> list;
        for (const sim::CommandRecord& record : camera.commandLog()) {
            std::string hex;
            char pair[3];
            for (std::uint8_t byte : record.cdb)
                std::snprintf(pair, sizeof pair, "%02X", byte), hex += pair;
            list.push_back(hex);
        }
        return list;
    }
};

struct UmockdevRig final : Rig {
    testing::MockDevices devices;
    platform::UdevDiskSystem system;
    std::unique_ptr<platform::UdevDeviceWatch> news;
    UmockdevRig() {
        devices.plug("camera");
        news = std::make_unique<platform::UdevDeviceWatch>();
    }
    platform::DiskSystem& disks() override { return system; }
    platform::DeviceWatch& watch() override { return *news; }
    void plug() override { devices.plug("camera"); }
    void unplug() override { devices.unplug("camera"); }
    void backToDisk() override {
        devices.updateCamera([](sim::CameraState& state) { state.mode = sim::CameraMode::Disk; });
        devices.switchPersonality("camera-pccam", "camera");
    }
    void foreignDisk(bool plug) override {
        if (plug)
            devices.plug("usb-stick");
        else
            devices.unplug("usb-stick");
    }
    void pump() override {
        if (devices.takeModeSwitch()) devices.switchPersonality("camera", "camera-pccam");
    }
    std::vector<std::string> cdbs() override {
        std::vector<std::string> list;
        for (const testing::SgIoRecord& record : devices.requests())
            list.push_back(record.cdb);
        return list;
    }
};

// What a person sees: the window's colour, the clock, the check box, the button, and what the
// preview program was told so far.
struct Seen {
    std::uint32_t colour;
    bool clockRunning;
    bool autoConnect;
    bool buttonEnabled;
    std::string buttonCaption;
    std::vector<std::string> preview;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    out << std::hex << s.colour << std::dec << " clock " << s.clockRunning << " auto " << s.autoConnect
        << " button " << s.buttonEnabled << " '" << s.buttonCaption << "' preview";
    for (const std::string& call : s.preview)
        out << " [" << call << "]";
    return out;
}

// Runs the window through plugging, unplugging and the personality switch on `rig`; each step
// must end with the window looking as the step expects.
void runSteps(Rig* rig, const char* camera) {
    SCOPED_TRACE(camera);
    testing::WindowTool tool;
    ASSERT_TRUE(tool.startWith({"mass_cmd.ini"}));
    RecordingWindows windows;
    ConnectionServices services{
        rig->disks(), link::kDefaultCameraIds, tool.state, tool.reporter, tool.catalog, *tool.codec,
        &rig->watch()};
    WindowConnection connection(tool.form, services, windows, tool.state, '/');
    auto* box = tool.find<QCheckBox>("TntCheckBox_Camera_Auto_Connect");
    auto* button = tool.find<QPushButton>("TntButton_Connect");
    auto* clock = tool.find<QTimer>("Timer1");
    const auto seen = [&] {
        return Seen{tool.form.windowColour(),     clock->isActive(), box->isChecked(), button->isEnabled(),
                    button->text().toStdString(), windows.calls};
    };
    // Runs the event loop, the camera acting on what it was told, until the window shows
    // `expected`, for at most three seconds; the caller compares.
    const auto settle = [&](const Seen& expected) {
        // Deliberately 150 ms at the least, even when the window already looks right: news that
        // must change nothing still get their moment to arrive and be handled.
        const QDeadlineTimer least(150);
        (void)QTest::qWaitFor(
            [&] {
                rig->pump();
                return least.hasExpired() && seen() == expected;
            },
            3000);
        return seen();
    };

    const std::string start = "start usb:v2E7Ap0102";
    const Seen connected{kConnectedColour, true, true, false, "Connect", {}};
    const Seen away{0xD8E9EC, false, true, false, "Connect", {}};
    Seen webcam = away;
    webcam.preview = {start};
    Seen back = connected;
    back.preview = {start, "close"};
    Seen manual{0xD8E9EC, false, false, true, "Connect", back.preview};
    Seen byButton{kConnectedColour, true, false, true, "Disconnect", back.preview};
    const struct Step {
        const char* what;
        std::function<void()> act;
        Seen expected;
    } steps[] = {
        {"start-up finds the camera and connects", [&] { connection.startUp(); }, connected},
        {"the camera is pulled out", [&] { rig->unplug(); }, away},
        {"it comes back", [&] { rig->plug(); }, connected},
        {"another disk comes and goes: the connection stays",
         [&] { rig->foreignDisk(true), rig->foreignDisk(false); }, connected},
        {"the switch to PC-camera mode disconnects and starts the preview",
         [&] { ASSERT_TRUE(connection.connection().camera().changeToPcCam().ok()); }, webcam},
        {"back as a disk: the preview closes and the window connects", [&] { rig->backToDisk(); }, back},
        {"auto-connect switched off disconnects at once", [&] { box->click(); }, manual},
        {"plugging changes nothing now", [&] { rig->unplug(), rig->plug(); }, manual},
        {"the button connects", [&] { button->click(); }, byButton},
        {"and disconnects", [&] { button->click(); }, manual},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(settle(step.expected), step.expected) << step.what;
    }
    EXPECT_TRUE(tool.presenter.requests().empty());
}

// The same steps on both cameras: the window shows the same, and the camera receives the same
// commands in the same order, whether they go to the firmware model directly or through the
// monitor, the udev walk and SG_IO.
TEST(UmockdevWindow, HotPlugLooksAndTalksAsOnTheStateFileCamera) {
    ASSERT_TRUE(testing::MockDevices::preloaded()) << "run under umockdev-wrapper";
    StateFileRig stateFile;
    runSteps(&stateFile, "state-file camera");
    UmockdevRig mock;
    runSteps(&mock, "camera under umockdev");
    const std::vector<std::string> sent = mock.cdbs();
    EXPECT_EQ(sent, stateFile.cdbs());
    // Each connection sets the flash-save flag; the switch is the one command in between.
    const std::string flashSave = "FC08515A535356464C01000000000000";
    EXPECT_EQ(sent, (std::vector<std::string>{flashSave, flashSave, "FC08515A4348414E4702000000000000",
                                              flashSave, flashSave}));
}

} // namespace
} // namespace trelvik::shell
