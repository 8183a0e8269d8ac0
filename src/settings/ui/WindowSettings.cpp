// SPDX-License-Identifier: MIT
#include "settings/ui/WindowSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "settings/ui/SettingDisplay.h"

namespace trelvik::settings {

namespace {
QString qName(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}
} // namespace

WindowSettings::WindowSettings(QWidget& root, const cmdtable::MassCmdTable& table,
                               link::CameraConnection& camera, const UnitWords& words)
    : m_root(root), m_registers(camera), m_handlers(table, m_registers, *this, words) {
    for (QWidget* widget : root.findChildren<QWidget*>())
        if (!widget->objectName().isEmpty()) m_controls.insert(widget->objectName(), widget);
    for (const SettingRow& row : settingRows())
        bindRow(row);
    for (const FormatList& format : kFormatLists) {
        const FormatList* bound = &format;
        if (auto* button = find<QPushButton>(format.readButton))
            connect(button, &QPushButton::clicked, this, [this, bound] {
                m_handlers.readList(bound->code, bound->list);
                if (m_afterFormatRead) m_afterFormatRead(bound->code);
            });
        // A write leaves the clock's format as it was, even when it clears the list.
        if (auto* button = find<QPushButton>(format.writeButton))
            connect(button, &QPushButton::clicked, this,
                    [this, bound] { m_handlers.writeList(bound->code, bound->list); });
    }
}

template <typename W> W* WindowSettings::find(std::string_view name) const {
    return qobject_cast<W*>(m_controls.value(qName(name)));
}

void WindowSettings::bindRow(const SettingRow& row) {
    const SettingRow* bound = &row;
    if (auto* button = find<QPushButton>(readButtonName(row)))
        connect(button, &QPushButton::clicked, this, [this, bound] { m_handlers.read(*bound); });
    if (auto* button = find<QPushButton>(writeButtonName(row)))
        connect(button, &QPushButton::clicked, this, [this, bound] { m_handlers.write(*bound); });
    if (valueControlOf(row.kind) != ValueControl::TrackBar) return;
    if (auto* trackBar = find<QSlider>(valueControlName(row))) {
        connect(trackBar, &QSlider::valueChanged, this,
                [this, bound](int position) { m_handlers.trackBarChanged(*bound, position); });
        // The command table's range may have moved the thumb before anyone listened.
        m_handlers.trackBarChanged(row, trackBar->value());
    }
}

bool WindowSettings::isEnabled(std::string_view control) const {
    // The control's own state: Load and Save disable the pages around it while they run.
    const QWidget* widget = m_controls.value(qName(control));
    return widget && !widget->testAttribute(Qt::WA_ForceDisabled);
}

int WindowSettings::selectedIndex(std::string_view comboBox) const {
    const auto* list = find<QComboBox>(comboBox);
    return list ? list->currentIndex() : -1;
}

int WindowSettings::position(std::string_view trackBar) const {
    const auto* track = find<QSlider>(trackBar);
    return track ? track->value() : 0;
}

std::u16string WindowSettings::text(std::string_view edit) const {
    const auto* field = find<QLineEdit>(edit);
    return field ? field->text().toStdU16String() : std::u16string();
}

void WindowSettings::ShowListResult(std::string_view comboBox, Status status, int position) {
    if (auto* list = find<QComboBox>(comboBox)) settings::ShowListResult(*list, status, position);
}

void WindowSettings::ShowTextResult(std::string_view trackBar, std::string_view valueLabel,
                                    const std::u16string& text, int value, Status status) {
    auto* track = find<QSlider>(trackBar);
    auto* label = find<QLabel>(valueLabel);
    if (track && label)
        settings::ShowTextResult(*track, *label, QString::fromStdU16String(text), value, status);
}

void WindowSettings::showEditResult(std::string_view edit, bool enabled, const std::u16string& text) {
    auto* field = find<QLineEdit>(edit);
    if (!field) return;
    field->setEnabled(enabled);
    field->setText(QString::fromStdU16String(text));
    QApplication::processEvents();
}

void WindowSettings::setValueLabel(std::string_view valueLabel, const std::u16string& text) {
    if (auto* label = find<QLabel>(valueLabel)) label->setText(QString::fromStdU16String(text));
}

} // namespace trelvik::settings
