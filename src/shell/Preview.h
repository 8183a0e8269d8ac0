// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>

#include "platform/ProgramWindows.h"
#include "shell/AppState.h"

namespace trelvik::shell {

// The companion preview program: its file beside the tool (plus the system's suffix) and its
// top-level window, both matched exactly.
inline constexpr const char* kPreviewProgramName = "Skaldor";
inline constexpr const char* kPreviewWindowClass = "Skaldor_Class";
inline constexpr const char* kPreviewWindowTitle = "Skaldor";
// The longest command line the program has ever been started with; a longer one would have
// been cut, and a cut path or name starts the wrong thing or nothing.
inline constexpr std::size_t kPreviewCommandLineLimit = 263;

// Example: PreviewProgramPath("C:\\Tools", '\\', ".exe") -> "C:\\Tools\\Skaldor.exe"
std::string PreviewProgramPath(const std::string& moduleDir, char separator, const std::string& suffix);

// The command line as the system shows it: the program's path, a blank and the camera's
// device-name prefix in double quotes. Only its length is judged: the path and the prefix
// are handed over as separate arguments.
// Example: PreviewCommandLine("/opt/t/Skaldor", "usb:v2E7A") -> "/opt/t/Skaldor \"usb:v2E7A\""
std::string PreviewCommandLine(const std::string& programPath, const std::string& cameraNamePrefix);

enum class PreviewOutcome {
    Raised,      // the preview window was there and is shown in front
    Started,     // it was not, and the program has been started
    StartFailed, // it was not, and the program could not be started (not shown to the user)
    TooLong,     // the command line would be longer than kPreviewCommandLineLimit
    Closed,      // a close request went to the preview window
    NoWindow,    // there was no preview window to close
    NoDisplay,   // the system has no windows to look at; nothing was done
};

// Starts, shows and closes the preview program. Keeps no state of its own: it learns of the
// program only through its window, each time anew.
class PreviewLauncher {
public:
    // `state.ModuleDir` is read at each call, so the launcher may be made before start-up
    // has found it.
    PreviewLauncher(platform::ProgramWindows& windows, const AppState& state, char pathSeparator);

    // The camera arrived as a video-capture device with device names beginning with
    // `cameraNamePrefix`: bring the preview window up, or start the program.
    PreviewOutcome ShowPreviewProgram(const std::string& cameraNamePrefix);

    // The capture device went away or the tool closes: ask the preview window to close, and
    // do not wait for it.
    PreviewOutcome ClosePreviewProgram();

private:
    platform::ProgramWindows& m_windows;
    const AppState& m_state;
    char m_separator;
};

} // namespace trelvik::shell
