// SPDX-License-Identifier: MIT
#include "shell/Preview.h"

#include "debuglog/DebugLog.h"

namespace trelvik::shell {

std::string PreviewProgramPath(const std::string& moduleDir, char separator, const std::string& suffix) {
    return moduleDir + separator + kPreviewProgramName + suffix;
}

std::string PreviewCommandLine(const std::string& programPath, const std::string& cameraNamePrefix) {
    return programPath + " \"" + cameraNamePrefix + "\"";
}

PreviewLauncher::PreviewLauncher(platform::ProgramWindows& windows, const AppState& state, char pathSeparator)
    : m_windows(windows), m_state(state), m_separator(pathSeparator) {}

PreviewOutcome PreviewLauncher::ShowPreviewProgram(const std::string& cameraNamePrefix) {
    const platform::FoundWindow found = m_windows.findWindow(kPreviewWindowClass, kPreviewWindowTitle);
    if (found.lookup == platform::WindowLookup::NoDisplay) return PreviewOutcome::NoDisplay;
    if (found.lookup == platform::WindowLookup::Found) {
        m_windows.showNormal(found.window);
        return PreviewOutcome::Raised;
    }
    const std::string program =
        PreviewProgramPath(m_state.ModuleDir, m_separator, m_windows.executableSuffix());
    const std::size_t length = PreviewCommandLine(program, cameraNamePrefix).size();
    if (length > kPreviewCommandLineLimit) {
        debuglog::DebugLog("the preview program's command line is too long (%zu characters): not started\n",
                           length);
        return PreviewOutcome::TooLong;
    }
    return m_windows.startProgram(program, {cameraNamePrefix}) ? PreviewOutcome::Started
                                                               : PreviewOutcome::StartFailed;
}

PreviewOutcome PreviewLauncher::ClosePreviewProgram() {
    const platform::FoundWindow found = m_windows.findWindow(kPreviewWindowClass, kPreviewWindowTitle);
    if (found.lookup == platform::WindowLookup::NoDisplay) return PreviewOutcome::NoDisplay;
    if (found.lookup == platform::WindowLookup::NotFound) return PreviewOutcome::NoWindow;
    m_windows.requestClose(found.window);
    return PreviewOutcome::Closed;
}

} // namespace trelvik::shell
