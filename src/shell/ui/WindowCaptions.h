// SPDX-License-Identifier: MIT
#pragma once

#include "settings/SettingHandlers.h"
#include "shell/Captions.h"

class QWidget;

namespace trelvik::shell {

// The captions' view of a window: controls are found among the children of `root` by
// objectName, a name that is not there is passed over.
class WindowCaptions final : public CaptionView {
public:
    // `words` is the window's: the value labels read it whenever they are written.
    WindowCaptions(QWidget& root, settings::UnitWords& words) : m_root(root), m_words(words) {}

    void setControlText(std::string_view control, const std::u16string& text) override;
    int entryCount(std::string_view list) const override;
    void rewordList(std::string_view list, const std::vector<std::u16string>& texts) override;
    void setUnitWords(const settings::UnitWords& words) override { m_words = words; }
    void refreshValueLabel(const settings::SettingRow& row) override;

private:
    template <typename W> W* find(std::string_view name) const;

    QWidget& m_root;
    settings::UnitWords& m_words;
};

} // namespace trelvik::shell
