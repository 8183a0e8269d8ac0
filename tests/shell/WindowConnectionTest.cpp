// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

#include <functional>
#include <string>

#include "WindowTool.h"
#include "platform/Native.h"
#include "shell/ui/WindowConnection.h"
#include "sim/SimDeviceWatch.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::shell {
namespace {

// What a person sees of the connection at one moment.
struct Seen {
    std::uint32_t colour;
    bool clockRunning;
    bool autoConnect;
    bool buttonEnabled;
    std::string buttonCaption;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << std::hex << s.colour << std::dec << " clock " << s.clockRunning << " auto " << s.autoConnect
               << " button " << s.buttonEnabled << " '" << s.buttonCaption << "'";
}

// The whole window on the simulated camera in this process: the camera's own news reach the
// window through the watch's descriptor and the event loop, as a real device's would.
TEST(WindowConnection, FollowsTheCameraTheCheckBoxAndTheButton) {
    testing::WindowTool tool;
    ASSERT_TRUE(tool.startWith({"mass_cmd.ini"}));
    sim::SimDiskSystem camera;
    sim::SimDeviceWatch watch(camera);
    const auto windows = platform::makeNativeProgramWindows();
    ConnectionServices services{camera,       camera.ids(), tool.state, tool.reporter,
                                tool.catalog, *tool.codec,  &watch};
    WindowConnection connection(tool.form, services, *windows, tool.state, '/');
    auto* box = tool.find<QCheckBox>("TntCheckBox_Camera_Auto_Connect");
    auto* button = tool.find<QPushButton>("TntButton_Connect");
    auto* clock = tool.find<QTimer>("Timer1");
    const auto seen = [&] {
        return Seen{tool.form.windowColour(), clock->isActive(), box->isChecked(), button->isEnabled(),
                    button->text().toStdString()};
    };
    // Runs the event loop until the window shows `expected`, for at most two seconds.
    const auto settle = [&](const Seen& expected) {
        (void)QTest::qWaitFor([&] { return seen() == expected; }, 2000); // the caller compares
        return seen();
    };

    const Seen connected{kConnectedColour, true, true, false, "Connect"};
    const Seen away{0xD8E9EC, false, true, false, "Connect"};
    const Seen manual{0xD8E9EC, false, false, true, "Connect"};
    const Seen byButton{kConnectedColour, true, false, true, "Disconnect"};
    const struct Step {
        const char* what;
        std::function<void()> act;
        Seen expected;
    } steps[] = {
        {"start-up finds the camera and posts the connect", [&] { connection.startUp(); }, connected},
        {"the camera is pulled out", [&] { camera.unplug(); }, away},
        {"it comes back", [&] { camera.plug(); }, connected},
        {"auto-connect switched off disconnects at once", [&] { box->click(); }, manual},
        {"plugging changes nothing now", [&] { camera.unplug(), camera.plug(); }, manual},
        {"the button connects", [&] { button->click(); }, byButton},
        {"and disconnects", [&] { button->click(); }, manual},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(settle(step.expected), step.expected) << step.what;
    }
    EXPECT_TRUE(tool.presenter.requests().empty());

    tool.form.setPickersToNow();
    tool.form.selectFirstClockFormats();
    EXPECT_EQ(tool.find<QDateEdit>("DateTimePicker1")->date(), QDate::currentDate());
    EXPECT_EQ(tool.find<QDateEdit>("DateTimePicker1")->displayFormat(), "dd/MM/yyyy");
    EXPECT_EQ(tool.find<QTimeEdit>("DateTimePicker2")->displayFormat(), "HH:mm:ss");
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_Date_Format")->currentIndex(), 0);
    EXPECT_EQ(tool.find<QComboBox>("TntComboBox_Time_Format")->currentIndex(), 0);
}

} // namespace
} // namespace trelvik::shell
