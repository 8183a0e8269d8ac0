// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <string>

#include "cmdtable/ToolMode.h"
#include "i18n/Reporter.h"
#include "link/CameraConnection.h"
#include "settings/AllSettings.h"

class QWidget;

namespace trelvik::settings {

// The three buttons above the pages: Load Camera Settings, Save Camera Settings and Reset
// Settings. Load and Save click the hidden R or W buttons of every setting one after another;
// each handler shows its own outcome, so they report nothing themselves.
class AllSettingsButtons final : public QObject {
    Q_OBJECT
public:
    struct Services {
        cmdtable::ToolMode toolMode;
        std::string titleBase; // the command file's title
        i18n::Reporter& reporter;
        link::CameraConnection& camera;
        std::function<IdentityTexts()> identity;            // what the identity reads left
        std::function<void(const std::string&)> setCaption; // the window's caption, narrow text
    };
    // `root` holds the buttons and the page control, and must outlive this object.
    AllSettingsButtons(QWidget& root, Services services);

    void TntButton_Load_Camera_SettingsClick();
    void TntButton_Save_Camera_SettingsClick();
    void TntButton_Reset_SettingsClick();
    bool running() const { return m_running; }
    // True, with a debug line naming `what`, while a run is on: nothing else may start.
    bool refused(const char* what) const;

    // Runs `work` with the hourglass up and the pages disabled, restored at the end; refused
    // with a debug line naming `what` (false) while another run is on.
    bool runAlone(const char* what, const std::function<void()>& work);
    // Load's steps, for work that runs alone and must show every setting as a Load would.
    void readEverySetting() { runSteps(LoadSteps(m_services.toolMode)); }

private:
    void runSteps(const std::vector<RunStep>& steps);
    void click(const std::string& button);

    QWidget& m_root;
    Services m_services;
    bool m_running = false;
};

} // namespace trelvik::settings
