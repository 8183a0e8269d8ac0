// SPDX-License-Identifier: MIT
#include "settings/ui/AllSettingsButtons.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>

#include "debuglog/DebugLog.h"

namespace trelvik::settings {

namespace {

constexpr unsigned kAskYesNo = i18n::kBoxQuestionYesNo;
constexpr unsigned kTellDone = i18n::kBoxInformation;
constexpr unsigned kTellFailed = i18n::kBoxError;
constexpr int kMsgResetCaption = 285;
constexpr int kMsgResetQuestion = 286;
constexpr int kMsgResetDone = 287;
constexpr int kMsgResetFailed = 288;
constexpr const char* kResetCaption = "Reset Settings";

} // namespace

AllSettingsButtons::AllSettingsButtons(QWidget& root, Services services)
    : m_root(root), m_services(std::move(services)) {
    const std::pair<const char*, void (AllSettingsButtons::*)()> buttons[] = {
        {"TntButton_Load_Camera_Settings", &AllSettingsButtons::TntButton_Load_Camera_SettingsClick},
        {"TntButton_Save_Camera_Settings", &AllSettingsButtons::TntButton_Save_Camera_SettingsClick},
        {"TntButton_Reset_Settings", &AllSettingsButtons::TntButton_Reset_SettingsClick},
    };
    for (const auto& [name, handler] : buttons)
        if (auto* button = root.findChild<QPushButton*>(name))
            connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
}

void AllSettingsButtons::click(const std::string& button) {
    // The buttons sit on the pages, which are disabled for the run, and most are hidden: the
    // handler is run as a click would run it, whatever the button's state.
    if (auto* target = m_root.findChild<QPushButton*>(QString::fromStdString(button))) emit target->clicked();
}

bool AllSettingsButtons::refused(const char* what) const {
    // A second run inside this one, started from the buttons above the pages that stay
    // clickable, could write a setting this run has not read yet.
    if (m_running) debuglog::DebugLog("%s ignored: a Load or Save is still running", what);
    return m_running;
}

bool AllSettingsButtons::runAlone(const char* what, const std::function<void()>& work) {
    if (refused(what)) return false;
    m_running = true;
    auto* pages = m_root.findChild<QTabWidget*>("TntPageControl1");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (pages) pages->setEnabled(false);
    QApplication::processEvents();
    work();
    QApplication::restoreOverrideCursor();
    if (pages) pages->setEnabled(true);
    QApplication::processEvents();
    m_running = false;
    return true;
}

void AllSettingsButtons::runSteps(const std::vector<RunStep>& steps) {
    for (const RunStep& step : steps) {
        switch (step.kind) {
        case RunStep::Click:
            click(step.button);
            break;
        case RunStep::Caption:
            m_services.setCaption(
                LoadCaption(m_services.toolMode, m_services.titleBase, m_services.identity()));
            break;
        case RunStep::FlashSave:
            // Not examined: the writes between the two are made either way.
            m_services.camera.setFlashSave(step.flag);
            break;
        }
    }
}

void AllSettingsButtons::TntButton_Load_Camera_SettingsClick() {
    runAlone("Load Camera Settings", [this] { readEverySetting(); });
}

void AllSettingsButtons::TntButton_Save_Camera_SettingsClick() {
    runAlone("Save Camera Settings", [this] { runSteps(SaveSteps(m_services.toolMode)); });
}

void AllSettingsButtons::TntButton_Reset_SettingsClick() {
    if (refused("Reset Settings")) return;
    const bool full = m_services.toolMode != cmdtable::ToolMode::Settings;
    i18n::Reporter& reporter = m_services.reporter;
    const int answer =
        full ? reporter.PlainBox("This will reset all settings to factory defaults.\n\nAre you sure?",
                                 kResetCaption, kAskYesNo)
             : reporter.AskMsgById(kMsgResetCaption, kMsgResetQuestion, kAskYesNo);
    if (answer != i18n::kAnswerYes) return;
    if (!m_services.camera.reset()) {
        if (full)
            reporter.PlainBox("It is fail to reset all settings to defaults!", kResetCaption, kTellFailed);
        else
            reporter.AskMsgById(kMsgResetCaption, kMsgResetFailed, kTellFailed);
        return;
    }
    if (full)
        reporter.PlainBox("All settings have been reset to defaults successfully.", kResetCaption, kTellDone);
    else
        reporter.AskMsgById(kMsgResetCaption, kMsgResetDone, kTellDone);
    click("TntButton_Load_Camera_Settings");
}

} // namespace trelvik::settings
