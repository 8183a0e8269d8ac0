// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::platform {

// Another program's top-level window as the system names it: an HWND on Windows, an X11
// window id on Linux. 0 names no window.
using WindowId = std::uintptr_t;

enum class WindowLookup {
    Found,
    NotFound,
    // The system has no windows to look at (Linux without an X11 display); the platform has
    // already written a debug line saying so.
    NoDisplay,
};

struct FoundWindow {
    WindowLookup lookup = WindowLookup::NotFound;
    WindowId window = 0; // set only when Found
};

// The windows and processes of other programs, as far as a companion program needs them:
// look one up, bring it to the front, ask it to close, start it. The tool keeps no handle of
// such a program; it learns of it only through its window.
class ProgramWindows {
public:
    virtual ~ProgramWindows() = default;

    // The first top-level window whose class and title are exactly these (Linux: the class
    // half of WM_CLASS, and _NET_WM_NAME or else WM_NAME).
    // Example: findWindow("Skaldor_Class", "Skaldor") -> {Found, 0x1a00003}
    virtual FoundWindow findWindow(std::string_view windowClass, std::string_view title) = 0;

    // Shows the window in its normal state, in front of the others. Returns at once.
    virtual void showNormal(WindowId window) = 0;

    // Asks the window to close, as its close button would (WM_CLOSE, WM_DELETE_WINDOW), and
    // returns at once without waiting for it.
    virtual void requestClose(WindowId window) = 0;

    // Starts the program at `path` with `arguments`, each handed over as one argument and
    // never seen by a shell, and does not wait for it. False when it could not be started.
    // Example: startProgram("/opt/my tools/Skaldor", {"usb:v2E7Ap0102"}) -> true
    virtual bool startProgram(const std::string& path, const std::vector<std::string>& arguments) = 0;

    // What the system appends to a program's name to make its file name: "" or ".exe".
    virtual std::string executableSuffix() const = 0;
};

} // namespace trelvik::platform
