// SPDX-License-Identifier: MIT
#include "shell/ui/WindowCaptions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>

namespace trelvik::shell {

namespace {
QString qText(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
} // namespace

template <typename W> W* WindowCaptions::find(std::string_view name) const {
    return m_root.findChild<W*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void WindowCaptions::setControlText(std::string_view control, const std::u16string& text) {
    QWidget* widget = find<QWidget>(control);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qText(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(qText(text));
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(qText(text));
    else if (widget)
        // A page names itself in its tab.
        for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget())
            if (auto* pages = qobject_cast<QTabWidget*>(up)) {
                pages->setTabText(pages->indexOf(widget), qText(text));
                break;
            }
}

int WindowCaptions::entryCount(std::string_view list) const {
    const auto* box = find<QComboBox>(list);
    return box ? box->count() : 0;
}

void WindowCaptions::rewordList(std::string_view list, const std::vector<std::u16string>& texts) {
    auto* box = find<QComboBox>(list);
    if (!box) return;
    // Only the words change: no handler is to see a selection come and go.
    const QSignalBlocker quiet(box);
    const int selected = box->currentIndex();
    box->clear();
    for (const auto& text : texts)
        box->addItem(qText(text));
    box->setCurrentIndex(selected < box->count() ? selected : -1);
}

void WindowCaptions::refreshValueLabel(const settings::SettingRow& row) {
    auto* track = find<QSlider>(settings::valueControlName(row));
    auto* label = find<QLabel>(settings::valueLabelName(row));
    if (track && label)
        label->setText(qText(settings::SettingHandlers::valueLabelText(row, track->value(), m_words)));
}

} // namespace trelvik::shell
