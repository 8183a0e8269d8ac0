// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include "cmdtable/MassCmd.h"
#include "i18n/Reporter.h"
#include "link/CameraConnection.h"
#include "settings/ui/AllSettingsButtons.h"
#include "settings/ui/ProfileDialogs.h"

class QLabel;
class QPushButton;
class QWidget;

namespace trelvik::settings {

// Export Settings and Import Settings of the full tool: a camera's settings kept in the
// profile file the command line reads and writes, and a profile written back to a camera
// after a check and a preview of what changes, through the same calls as the command line's
// apply. A profile dropped on the window is imported as one chosen in the dialog.
class ProfileButtons final : public QObject {
    Q_OBJECT
public:
    struct Services {
        const cmdtable::MassCmdTable& table;
        i18n::Reporter& reporter;
        link::CameraConnection& camera;
        AllSettingsButtons& allSettings; // runs alone with Load, Save and Reset
        ProfileDialogs& dialogs;
    };
    // `window` holds the buttons and takes the drops; it and the services must outlive this.
    ProfileButtons(QWidget& window, Services services);

    // The buttons work while a camera is connected.
    void setCameraConnected(bool connected);

    void TntButton_Export_SettingsClick();
    void TntButton_Import_SettingsClick();
    // Checks the profile at `path`, previews it, writes it, reports and reloads.
    void importFile(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Says what went wrong in one box of the import's or export's caption.
    void tell(const char* caption, const std::string& text, unsigned icon);

    QWidget& m_window;
    Services m_services;
    QPushButton* m_export = nullptr;
    QPushButton* m_import = nullptr;
    QLabel* m_progress = nullptr;
};

} // namespace trelvik::settings
