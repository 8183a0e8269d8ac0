// SPDX-License-Identifier: MIT
#include "settings/ui/WidgetBindingTarget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

namespace trelvik::settings {

template <typename W> W* WidgetBindingTarget::find(std::string_view name) const {
    return m_root.findChild<W*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void WidgetBindingTarget::setLanguageListVisible(bool visible) {
    if (auto* list = find<QComboBox>(kLanguageList)) list->setVisible(visible);
}

int WidgetBindingTarget::entryCount(std::string_view comboBox) const {
    const auto* list = find<QComboBox>(comboBox);
    return list ? list->count() : 0;
}

void WidgetBindingTarget::setEntries(std::string_view comboBox, const std::vector<std::u16string>& texts) {
    auto* list = find<QComboBox>(comboBox);
    if (!list) return;
    list->clear();
    for (const auto& text : texts)
        list->addItem(QString::fromStdU16String(text));
    list->setCurrentIndex(-1);
}

void WidgetBindingTarget::setRange(std::string_view trackBar, int minimum, int maximum) {
    auto* track = find<QSlider>(trackBar);
    if (!track) return;
    // Minimum first, as the table gives them: a lower bound above the upper one then gives
    // way, the track bar running from the upper bound to itself.
    track->setMinimum(minimum);
    track->setMaximum(maximum);
}

void WidgetBindingTarget::clearText(std::string_view edit) {
    if (auto* field = find<QLineEdit>(edit)) field->clear();
}

} // namespace trelvik::settings
