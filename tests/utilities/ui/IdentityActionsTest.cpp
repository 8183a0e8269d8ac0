// SPDX-License-Identifier: MIT
// The identity reads and Change To PCCam on the real window against the simulated camera.
#include <gtest/gtest.h>

#include <QLineEdit>

#include <string>
#include <vector>

#include "UtilityWindow.h"

namespace trelvik::utilities {
namespace {

using testing::kFullTool;
using testing::kSettingsTool;
using testing::MsgBox;
using testing::UtilityWindow;

// A field as seen: its text and, for the model and make, "on white" or "on red".
std::string fieldSeen(UtilityWindow& window, const char* name, bool coloured) {
    auto* field = window.find<QLineEdit>(name);
    std::string seen = field->text().toStdString();
    if (!coloured) return seen;
    const QColor base = field->palette().color(QPalette::Base);
    return seen + (base == QColor(Qt::white) ? " on white"
                   : base == QColor(Qt::red) ? " on red"
                                             : " on other");
}

// The three fields and the three texts kept for the caption, after clicking the three Read buttons.
std::string readIdentity(UtilityWindow& window) {
    const std::string traffic =
        window.click({"TntButtonGetFirmwareVersion", "TntButton_GetModelID", "TntButton_GetMakeID"});
    return traffic + " | " + fieldSeen(window, "TntEditFirmwareVersion", false) + " | " +
           fieldSeen(window, "TntEdit_Model_ID", true) + " | " + fieldSeen(window, "TntEdit_Make_ID", true) +
           " | " + window.identity.FirmwareVersionText() + " | " + window.identity.ModelIdText() + " | " +
           window.identity.MakeIdText() + window.boxes();
}

TEST(Identity, ReadsShowTextsAndKeepThemForTheCaption) {
    struct Case {
        const char* name;
        const char* model;
        std::set<std::string> fail;
        bool connected;
        const char* seen;
    };
    const std::string longModel(40, 'M');
    const Case cases[] = {
        {"AllRead",
         "TC-4000",
         {},
         true,
         "QZGETVS 00 QZGETMD 00 QZGETMK 00 | V1.02 | TC-4000 on white | Trelvik Optics on white | V1.02 | "
         "TC-4000 | "
         "Trelvik Optics"},
        {"ModelFails",
         "TC-4000",
         {"QZGETMD"},
         true,
         "QZGETVS 00 QZGETMD 00! QZGETMK 00 | V1.02 | <Fail> on red | Trelvik Optics on white | V1.02 | "
         "Unknown | "
         "Trelvik Optics"},
        // A failed read after a good one turns the field red again, and a good one white.
        {"VersionAndMakeFail",
         "TC-4000",
         {"QZGETVS", "QZGETMK"},
         true,
         "QZGETVS 00! QZGETMD 00 QZGETMK 00! | <N/A> | TC-4000 on white | <Fail> on red | <N/A> | TC-4000 | "
         "Unknown"},
        {"LongModelIsCut",
         longModel.c_str(),
         {},
         true,
         "QZGETVS 00 QZGETMD 00 QZGETMK 00 | V1.02 | MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM on white | Trelvik "
         "Optics on white | "
         "V1.02 | MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM | Trelvik Optics"},
        {"NotConnected",
         "TC-4000",
         {},
         false,
         " | <N/A> | <Fail> on red | <Fail> on red | <N/A> | Unknown | Unknown"},
    };
    UtilityWindow window;
    for (const Case& c : cases) {
        window.set({}, [&](sim::CameraState& state) {
            state.model = c.model;
            state.make = "Trelvik Optics";
            state.faults.fail = c.fail;
        });
        window.connected = c.connected;
        EXPECT_EQ(readIdentity(window), c.seen) << c.name;
    }
}

TEST(ChangeToPcCam, BoxesPerToolMode) {
    struct Case {
        bool fails;
        const char* traffic;
        const char* fullBox;
        std::vector<MsgBox> settingsBox;
    };
    const Case cases[] = {
        {false,
         "QZCHANG 02",
         "information [Change Mode] Change to PCCam mode successfully! OK\n",
         {{296, 297, 0x40}}},
        {true, "QZCHANG 02!", "error [] Fail to change to PCCam mode! OK\n", {{284, 0, 0x10}}},
    };
    for (const auto files : {kFullTool, kSettingsTool}) {
        for (const Case& c : cases) {
            UtilityWindow window(files);
            if (c.fails) window.set({}, [](sim::CameraState& state) { state.faults.fail = {"QZCHANG"}; });
            const std::string expected = window.settingsTool() ? window.expected(c.settingsBox) : c.fullBox;
            EXPECT_EQ(window.clickAndSee({"TntButton_Change_To_PCCam"}),
                      c.traffic + std::string("\n") + expected);
            EXPECT_EQ(window.camera.state()->mode, c.fails ? sim::CameraMode::Disk : sim::CameraMode::PcCam);
        }
    }
}

} // namespace
} // namespace trelvik::utilities
