// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include "shell/StartupView.h"

class QComboBox;
class QTabWidget;

namespace trelvik::shell {

// The tool's one window. Object names are the names other parts and tests find controls by.
class TForm1 final : public QMainWindow, public StartupView {
    Q_OBJECT
public:
    static constexpr const char* kDefaultCaption = "Trelvik, v7, 2019/0410";

    explicit TForm1(QWidget* parent = nullptr);

    void setWindowColour(std::uint32_t bgr) override;
    void setCaption(const std::string& title) override;
    void adaptToToolMode(cmdtable::ToolMode toolMode) override;
    void fillLanguageList(const std::vector<std::u16string>& names, int selected) override;
    void showAndPaint() override;

    std::uint32_t windowColour() const { return m_colour; }

public slots:
    // Another start of the tool asked this one to come to the front.
    void bringToFront();

private:
    QTabWidget* m_pages = nullptr;
    QComboBox* m_language = nullptr;
    std::uint32_t m_colour = 0;
};

} // namespace trelvik::shell
