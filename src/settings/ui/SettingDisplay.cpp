// SPDX-License-Identifier: MIT
#include "settings/ui/SettingDisplay.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>

namespace trelvik::settings {

namespace {

std::uint32_t toBgr(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

// A closed list paints its face with the button colours, its open popup and an editable
// field with the base ones; the disabled states need the colours too, or the style greys
// them and the failed and refused lists look alike.
void colourList(QComboBox& list, std::uint32_t background, std::uint32_t text) {
    QPalette palette = list.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
            palette.setColor(group, role, colourOf(background));
        for (const auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            palette.setColor(group, role, colourOf(text));
    }
    list.setPalette(palette);
    // The style shades a list's face as a gradient of its palette, which turns the red of a
    // failure pink and the grey-beige of an unknown register near white. Those two are
    // painted flat, exactly their colour, as the coloured groups are.
    const QString flat =
        background == kKnownBackground
            ? QString()
            : QStringLiteral("QComboBox { background-color: %1; color: %2; border: 1px solid %3; }")
                  .arg(colourOf(background).name(), colourOf(text).name(),
                       palette.color(QPalette::Dark).name());
    if (list.styleSheet() != flat) list.setStyleSheet(flat);
}

void processPending() {
    QApplication::processEvents();
}

} // namespace

QColor colourOf(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

void ShowListResult(QComboBox& list, link::Status status, int position) {
    const bool ok = status == link::Status::Ok;
    list.setEnabled(ok);
    list.setCurrentIndex(ok ? position : -1);
    if (ok)
        colourList(list, kKnownBackground, kKnownText);
    else
        colourList(list, status == link::Status::Failed ? kFailedBackground : kNotSupportedBackground,
                   kRefusedText);
    processPending();
}

void ShowTextResult(QSlider& trackBar, QLabel& valueLabel, const QString& text, int value,
                    link::Status status) {
    const bool ok = status == link::Status::Ok;
    trackBar.setEnabled(ok);
    trackBar.setValue(ok ? value : 0);
    valueLabel.setVisible(ok);
    if (ok) valueLabel.setText(text);
    processPending();
}

void ShowTextResult(QSlider& trackBar, QLabel& valueLabel, const char* text, int value, link::Status status) {
    ShowTextResult(trackBar, valueLabel, QString::fromLocal8Bit(text ? text : ""), value, status);
}

void ShowNumberResult(QSlider& trackBar, QLabel& valueLabel, int value, link::Status status) {
    ShowTextResult(trackBar, valueLabel, QString::number(value), value, status);
}

std::uint32_t listBackground(const QComboBox& list) {
    return toBgr(list.palette().color(QPalette::Button));
}

std::uint32_t listTextColour(const QComboBox& list) {
    return toBgr(list.palette().color(QPalette::ButtonText));
}

} // namespace trelvik::settings
