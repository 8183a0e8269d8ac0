// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string_view>

#include "link/Status.h"
#include "shell/StartupView.h"

class QComboBox;
class QLabel;
class QSlider;
class QTabWidget;
class QTimer;

namespace trelvik::shell {

// The tool's one window. Object names are the names other parts and tests find controls by;
// every control exists from the start, the tool mode only hides some.
class TForm1 final : public QMainWindow, public StartupView {
    Q_OBJECT
public:
    static constexpr const char* kDefaultCaption = "Trelvik, v7, 2019/0410";
    static constexpr int kClientWidth = 1060;
    static constexpr int kClientHeight = 799;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void setWindowColour(std::uint32_t bgr) override;
    void setCaption(const std::string& title) override;
    void adaptToToolMode(cmdtable::ToolMode toolMode) override;
    void RefreshTrackBars() override;
    void BindCommandTable(const settings::BindingSources& sources) override;
    void fillLanguageList(const std::vector<std::u16string>& names, int selected) override;
    // Settings tool only; the sources are kept for later changes of language, and must
    // outlive the window's event handling.
    void ApplyCaptions(const CaptionSources& sources) override;
    void showAndPaint() override;

    std::uint32_t windowColour() const { return m_colour; }
    // The unit words of the settings page's value labels, as the language gives them.
    const settings::UnitWords& unitWords() const { return m_unitWords; }

    // After the window is shown: both pickers show the present local date and time.
    void setPickersToNow();
    // The clock's formats start at the first entry of each list, and the pickers show it.
    void selectFirstClockFormats();

    // A picker's display format for a picture string of the clock's formats: the same
    // letters, with "tt" (the AM/PM marker) as Qt writes it. Example: "tt hh:mm:ss" -> "AP hh:mm:ss".
    static QString pickerDisplayFormat(std::string_view picture);

    // How a single setting's read or write shows; see settings/ui/SettingDisplay.h.
    static void ShowListResult(QComboBox* list, link::Status status, int position);
    static void ShowNumberResult(QSlider* trackBar, QLabel* valueLabel, int value, link::Status status);
    static void ShowTextResult(QSlider* trackBar, QLabel* valueLabel, const QString& text, int value,
                               link::Status status);
    static void ShowTextResult(QSlider* trackBar, QLabel* valueLabel, const char* text, int value,
                               link::Status status);

public slots:
    // Another start of the tool asked this one to come to the front.
    void bringToFront();

private:
    void buildFixedControls(QWidget& client);
    void buildSettingRows();

    QTabWidget* m_pages = nullptr;
    QComboBox* m_language = nullptr;
    QTimer* m_timer = nullptr;
    std::uint32_t m_colour = 0;
    cmdtable::ToolMode m_toolMode = cmdtable::ToolMode::Full;
    settings::UnitWords m_unitWords;
    std::unique_ptr<CaptionView> m_captions;
    std::optional<CaptionSources> m_captionSources;
};

} // namespace trelvik::shell
