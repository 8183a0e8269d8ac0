// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "utilities/ui/UtilityContext.h"

class QLineEdit;

namespace trelvik::utilities {

// The Command Read/Write group: any register by its hexadecimal code, through the drive probe
// rather than the open camera, with a box for every outcome.
class RegisterConsole final : public QObject {
    Q_OBJECT
public:
    // `root` holds the controls; it and everything in `services` must outlive this object.
    RegisterConsole(QWidget& root, UtilityServices services);

    void TntButtonCommandReadClick();
    void TntButtonCommandWriteClick();

private:
    // Refuses a field Command Write must not send, with a box; true when it was refused.
    bool refused(const QLineEdit& field, std::string_view label);
    void setData(std::string_view text);

    UtilityServices m_services;
    QLineEdit* m_command = nullptr;
    QLineEdit* m_data = nullptr;
};

} // namespace trelvik::utilities
