// SPDX-License-Identifier: MIT
#pragma once

#include "settings/CommandBinding.h"

class QWidget;

namespace trelvik::settings {

// The binding's view of a window: controls are looked up among the children of `root` by
// objectName; a name that is not there is passed over.
class WidgetBindingTarget final : public BindingTarget {
public:
    explicit WidgetBindingTarget(QWidget& root) : m_root(root) {}

    void setLanguageListVisible(bool visible) override;
    int entryCount(std::string_view comboBox) const override;
    void setEntries(std::string_view comboBox, const std::vector<std::u16string>& texts) override;
    void setRange(std::string_view trackBar, int minimum, int maximum) override;
    void clearText(std::string_view edit) override;

private:
    template <typename W> W* find(std::string_view name) const;

    QWidget& m_root;
};

} // namespace trelvik::settings
