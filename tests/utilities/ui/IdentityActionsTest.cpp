// SPDX-License-Identifier: MIT
// The identity reads and Change To PCCam on the window against the simulated camera.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "UtilityWindow.h"

namespace trelvik::utilities {
namespace {

using testing::UtilityWindow;

TEST(Identity, FieldsAndTheTextsKeptForTheCaption) {
    // Failing commands ("camera gone": none connected), then traffic | fields | texts kept.
    const std::pair<std::set<std::string>, std::string> cases[] = {
        {{"QZGETMD"},
         "QZGETVS 00 QZGETMD 00! QZGETMK 00 | V1.02 | <Fail> red | Optics white | V1.02 Unknown Optics"},
        // A field turns white again with a good read, and red with a failed one.
        {{"QZGETVS", "QZGETMK"},
         "QZGETVS 00! QZGETMD 00 QZGETMK 00! | <N/A> | TC-4000 white | <Fail> red | <N/A> TC-4000 Unknown"},
        {{"camera gone"}, " | <N/A> | <Fail> red | <Fail> red | <N/A> Unknown Unknown"},
    };
    UtilityWindow window;
    const auto field = [&window](const char* name) {
        auto* edit = window.find<QLineEdit>(name);
        const QColor base = edit->palette().color(QPalette::Base);
        return edit->text().toStdString() + (base == Qt::white ? " white"
                                             : base == Qt::red ? " red"
                                                               : " other");
    };
    for (const auto& [fail, expected] : cases) {
        window.set({}, [&](sim::CameraState& state) {
            state.model = "TC-4000";
            state.make = "Optics";
            state.faults.fail = fail;
        });
        window.setConnected(!fail.count("camera gone"));
        const std::string seen = window.clickAndSee(
            {"TntButtonGetFirmwareVersion", "TntButton_GetModelID", "TntButton_GetMakeID"});
        EXPECT_EQ(seen.substr(0, seen.size() - 1) + " | " +
                      window.find<QLineEdit>("TntEditFirmwareVersion")->text().toStdString() + " | " +
                      field("TntEdit_Model_ID") + " | " + field("TntEdit_Make_ID") + " | " +
                      window.identity.FirmwareVersionText() + " " + window.identity.ModelIdText() + " " +
                      window.identity.MakeIdText(),
                  expected); // and no box
    }
    window.setConnected(true);
    window.set({}, [&](sim::CameraState& state) { state.make = std::string(40, 'M'); });
    window.click({"TntButton_GetMakeID"});
    EXPECT_EQ(window.identity.MakeIdText(), std::string(32, 'M'));
}

TEST(ChangeToPcCam, BoxesPerToolMode) {
    for (const auto files : {testing::kFullTool, testing::kSettingsTool}) {
        for (const bool fails : {false, true}) {
            UtilityWindow window(files);
            window.set({}, [&](sim::CameraState& state) { state.faults.fail = {fails ? "QZCHANG" : "-"}; });
            const std::string box =
                window.settingsTool() ? window.expected({fails ? testing::MsgBox{284, 0, 0x10}
                                                               : testing::MsgBox{296, 297, 0x40}})
                : fails               ? "error [] Fail to change to PCCam mode! OK\n"
                                      : "information [Change Mode] Change to PCCam mode successfully! OK\n";
            EXPECT_EQ(window.clickAndSee({"TntButton_Change_To_PCCam"}),
                      (fails ? "QZCHANG 02!\n" : "QZCHANG 02\n") + box);
        }
    }
}

} // namespace
} // namespace trelvik::utilities
