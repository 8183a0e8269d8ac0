// SPDX-License-Identifier: MIT
#include "shell/ui/WindowActions.h"

#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowConnection.h"

namespace trelvik::shell {

WindowActions::WindowActions(TForm1& form, WindowActionServices services) {
    m_settings =
        std::make_unique<settings::WindowSettings>(form, services.table, services.camera, form.unitWords());
    m_clock =
        std::make_unique<utilities::ClockPanel>(form, services.camera, services.clockLocale, services.now);
    // A read of the camera's format drives the clock's, whatever the read came to.
    m_settings->setAfterFormatRead([clock = m_clock.get()](int code) {
        if (code == settings::kFormatLists[0].code)
            clock->TntComboBox_Date_FormatChange();
        else
            clock->TntComboBox_Time_FormatChange();
    });
    const utilities::UtilityServices utilityServices{services.reporter, services.codec, services.state,
                                                     services.camera};
    m_media = std::make_unique<utilities::MediaActions>(form, utilityServices);
    m_identity = std::make_unique<utilities::IdentityActions>(form, utilityServices);
    m_console = std::make_unique<utilities::RegisterConsole>(form, utilityServices);
    m_allSettings = std::make_unique<settings::AllSettingsButtons>(
        form, settings::AllSettingsButtons::Services{
                  services.state.ToolMode, services.state.WindowTitleBase, services.reporter, services.camera,
                  [identity = m_identity.get()] {
                      return settings::IdentityTexts{identity->FirmwareVersionText(), identity->ModelIdText(),
                                                     identity->MakeIdText()};
                  },
                  [&form](const std::string& caption) { form.setCaption(caption); }});
    if (services.state.ToolMode == cmdtable::ToolMode::Settings) return;
    settings::ProfileDialogs* dialogs = services.profileDialogs;
    if (!dialogs) dialogs = (m_dialogs = std::make_unique<settings::QtProfileDialogs>()).get();
    m_profiles = std::make_unique<settings::ProfileButtons>(
        form, settings::ProfileButtons::Services{services.table, services.reporter, services.camera,
                                                 *m_allSettings, *dialogs});
}

WindowActions::~WindowActions() = default;

void WindowActions::followConnection(WindowConnection& connection) {
    if (m_profiles)
        QObject::connect(&connection, &WindowConnection::connectedChanged, m_profiles.get(),
                         &settings::ProfileButtons::setCameraConnected);
}

} // namespace trelvik::shell
