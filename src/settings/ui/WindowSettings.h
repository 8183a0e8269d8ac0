// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

#include "settings/SettingHandlers.h"

class QWidget;

namespace trelvik::settings {

// The setting rows of a window brought to life: every R and W button runs its row's handler
// when clicked (Load and Save click them from code), and every track bar keeps its value
// label in step. The handlers reach the camera through the window's connection.
class WindowSettings final : public QObject, private SettingControls {
    Q_OBJECT
public:
    // `root` holds the rows' controls; it, `table` and `words` must outlive this object.
    WindowSettings(QWidget& root, const cmdtable::MassCmdTable& table, link::CameraConnection& camera,
                   const UnitWords& words);

    // After a read of a format list, whatever it came to: the clock follows the list.
    // Example: setAfterFormatRead([&](int code) { code == 0x32 ? clock.dateChanged() : ... }).
    void setAfterFormatRead(std::function<void(int code)> afterRead) {
        m_afterFormatRead = std::move(afterRead);
    }

private:
    bool isEnabled(std::string_view control) const override;
    int selectedIndex(std::string_view comboBox) const override;
    int position(std::string_view trackBar) const override;
    std::u16string text(std::string_view edit) const override;
    void ShowListResult(std::string_view comboBox, Status status, int position) override;
    void ShowTextResult(std::string_view trackBar, std::string_view valueLabel, const std::u16string& text,
                        int value, Status status) override;
    void showEditResult(std::string_view edit, bool enabled, const std::u16string& text) override;
    void setValueLabel(std::string_view valueLabel, const std::u16string& text) override;

    template <typename W> W* find(std::string_view name) const;
    void bindRow(const SettingRow& row);

    QWidget& m_root;
    // Controls by name, found once: a run over all settings looks each up twice.
    QHash<QString, QWidget*> m_controls;
    CameraRegisters m_registers;
    SettingHandlers m_handlers;
    std::function<void(int code)> m_afterFormatRead;
};

} // namespace trelvik::settings
