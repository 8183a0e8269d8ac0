// SPDX-License-Identifier: MIT
#include "utilities/ui/IdentityActions.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "link/VendorCommands.h"
#include "link/VendorProtocol.h"

namespace trelvik::utilities {

namespace {

constexpr std::size_t kMaxVersionLength = 63;
constexpr const char* kVersionUnknown = "<N/A>";
constexpr const char* kIdentityFailed = "<Fail>";
constexpr const char* kIdentityUnknown = "Unknown";
const QColor kReadBackground(0xFF, 0xFF, 0xFF);
const QColor kFailedBackground(0xFF, 0x00, 0x00);

void paintField(QLineEdit& field, const QColor& background) {
    QPalette palette = field.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, background);
    field.setPalette(palette);
}

} // namespace

IdentityActions::IdentityActions(QWidget& root, UtilityServices services)
    : m_services(std::move(services)), m_firmwareField(control<QLineEdit>(root, "TntEditFirmwareVersion")),
      m_modelField(control<QLineEdit>(root, "TntEdit_Model_ID")),
      m_makeField(control<QLineEdit>(root, "TntEdit_Make_ID")) {
    const auto bind = [&root, this](const char* name, void (IdentityActions::*handler)()) {
        if (auto* button = control<QPushButton>(root, name))
            connect(button, &QPushButton::clicked, this, handler);
    };
    bind("TntButtonGetFirmwareVersion", &IdentityActions::TntButtonGetFirmwareVersionClick);
    bind("TntButton_GetModelID", &IdentityActions::TntButton_GetModelIDClick);
    bind("TntButton_GetMakeID", &IdentityActions::TntButton_GetMakeIDClick);
    bind("TntButton_Change_To_PCCam", &IdentityActions::TntButton_Change_To_PCCamClick);
}

void IdentityActions::TntButtonGetFirmwareVersionClick() {
    const link::Result<std::string> read = m_services.camera.readVersion();
    std::string version = read ? *read : std::string(kVersionUnknown);
    if (version.size() > kMaxVersionLength) version.resize(kMaxVersionLength);
    m_firmwareVersion = version;
    if (m_firmwareField)
        m_firmwareField->setText(QString::fromStdU16String(m_services.codec.toWide(version)));
    QApplication::processEvents();
}

void IdentityActions::readIdentity(IdentityRead read, QLineEdit* field, std::string& kept) {
    const link::Result<std::string> text = (m_services.camera.*read)();
    const bool ok = text.ok();
    kept = ok ? *text : kIdentityUnknown;
    if (field) {
        paintField(*field, ok ? kReadBackground : kFailedBackground);
        field->setText(ok ? QString::fromStdU16String(m_services.codec.toWide(kept))
                          : QString(kIdentityFailed));
    }
    QApplication::processEvents();
}

void IdentityActions::TntButton_GetModelIDClick() {
    readIdentity(&link::CameraConnection::readModel, m_modelField, m_modelId);
}

void IdentityActions::TntButton_GetMakeIDClick() {
    readIdentity(&link::CameraConnection::readMake, m_makeField, m_makeId);
}

void IdentityActions::TntButton_Change_To_PCCamClick() {
    showUtilityBox(m_services, pcCamBox(m_services.camera.changeToPcCam().ok()));
}

} // namespace trelvik::utilities
