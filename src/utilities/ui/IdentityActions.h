// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <string>

#include "link/Status.h"
#include "utilities/ui/UtilityContext.h"

class QLineEdit;

namespace trelvik::utilities {

// The camera's identity (firmware version, model and make, read into the hidden identity
// group; Load Camera Settings clicks their Read buttons and builds the window caption from
// the texts kept here) and the switch into PC-camera mode.
class IdentityActions final : public QObject {
    Q_OBJECT
public:
    // `root` holds the controls; it and everything in `services` must outlive this object.
    IdentityActions(QWidget& root, UtilityServices services);

    // The last read's version text, or "<N/A>" after a failed one; at most 63 characters.
    const std::string& FirmwareVersionText() const { return m_firmwareVersion; }
    // The last read's model and make texts, or "Unknown" after a failed one; at most 32 characters.
    const std::string& ModelIdText() const { return m_modelId; }
    const std::string& MakeIdText() const { return m_makeId; }

    void TntButtonGetFirmwareVersionClick();
    void TntButton_GetModelIDClick();
    void TntButton_GetMakeIDClick();
    void TntButton_Change_To_PCCamClick();

private:
    using IdentityRead = link::Result<std::string> (link::CameraConnection::*)();
    void readIdentity(IdentityRead read, QLineEdit* field, std::string& kept);

    UtilityServices m_services;
    QLineEdit* m_firmwareField = nullptr;
    QLineEdit* m_modelField = nullptr;
    QLineEdit* m_makeField = nullptr;
    std::string m_firmwareVersion;
    std::string m_modelId;
    std::string m_makeId;
};

} // namespace trelvik::utilities
