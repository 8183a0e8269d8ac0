// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include "cmdtable/MassCmd.h"
#include "i18n/Reporter.h"
#include "platform/DiskSystem.h"
#include "platform/TextCodec.h"
#include "settings/ui/AllSettingsButtons.h"
#include "settings/ui/ProfileButtons.h"
#include "settings/ui/WindowSettings.h"
#include "shell/AppState.h"
#include "utilities/ui/ClockPanel.h"
#include "utilities/ui/IdentityActions.h"
#include "utilities/ui/MediaActions.h"
#include "utilities/ui/RegisterConsole.h"

namespace trelvik::shell {

class TForm1;
class WindowConnection;

struct WindowActionServices {
    const cmdtable::MassCmdTable& table;
    const AppState& state;
    i18n::Reporter& reporter;
    const platform::TextCodec& codec;
    // The window's connection: its camera while connected, and the drives the register
    // console and the medium list's Format probe.
    link::CameraConnection& camera;
    utilities::ClockLocale clockLocale;
    utilities::ClockPanel::Now now = &QDateTime::currentDateTime;
    // The file dialogs, preview and report of profiles; null: the toolkit's.
    settings::ProfileDialogs* profileDialogs = nullptr;
};

// Everything the window's buttons, lists and timer do, bound to its controls: the single
// settings, Load, Save and Reset, export and import of profiles (full tool), the clock, the
// media, the identity and the register console.
// The tool and the window tests build it alike.
class WindowActions {
public:
    // `form` and everything `services` names must outlive this object.
    WindowActions(TForm1& form, WindowActionServices services);
    ~WindowActions();

    settings::WindowSettings& settings() { return *m_settings; }
    settings::AllSettingsButtons& allSettings() { return *m_allSettings; }
    utilities::ClockPanel& clock() { return *m_clock; }
    utilities::IdentityActions& identity() { return *m_identity; }
    utilities::MediaActions& media() { return *m_media; }
    // Null in the settings tool, which has no profiles.
    settings::ProfileButtons* profiles() { return m_profiles.get(); }
    // What works only with a camera follows the window's connection from now on.
    void followConnection(WindowConnection& connection);

private:
    std::unique_ptr<settings::WindowSettings> m_settings;
    std::unique_ptr<utilities::ClockPanel> m_clock;
    std::unique_ptr<utilities::MediaActions> m_media;
    std::unique_ptr<utilities::IdentityActions> m_identity;
    std::unique_ptr<utilities::RegisterConsole> m_console;
    std::unique_ptr<settings::AllSettingsButtons> m_allSettings;
    std::unique_ptr<settings::QtProfileDialogs> m_dialogs;
    std::unique_ptr<settings::ProfileButtons> m_profiles;
};

} // namespace trelvik::shell
