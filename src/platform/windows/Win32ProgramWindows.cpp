// SPDX-License-Identifier: MIT
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "platform/Native.h"

namespace trelvik::platform {

namespace {

// One argument as the C runtime's parser reads it back: in quotes, with the backslashes
// before a quote doubled, so a blank or a quote in it never starts another argument.
std::string quoted(const std::string& word) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : word) {
        if (c == '\\') {
            ++backslashes;
        } else {
            text.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
        }
        if (c != '\\') text += c;
    }
    text.append(backslashes * 2, '\\');
    return text + "\"";
}

class Win32ProgramWindows final : public ProgramWindows {
public:
    FoundWindow findWindow(std::string_view windowClass, std::string_view title) override {
        const HWND window = FindWindowA(std::string(windowClass).c_str(), std::string(title).c_str());
        if (window == nullptr) return {WindowLookup::NotFound, 0};
        return {WindowLookup::Found, reinterpret_cast<WindowId>(window)};
    }

    void showNormal(WindowId window) override {
        const HWND handle = reinterpret_cast<HWND>(window);
        ShowWindow(handle, SW_SHOWNORMAL);
        SetForegroundWindow(handle);
    }

    void requestClose(WindowId window) override {
        PostMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
    }

    bool startProgram(const std::string& path, const std::vector<std::string>& arguments) override {
        // The program is named to CreateProcess on its own, so a folder with blanks cannot
        // make it start "C:\Program" instead.
        std::string commandLine = quoted(path);
        for (const std::string& argument : arguments)
            commandLine += ' ' + quoted(argument);
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            debuglog::DebugLog("cannot start %s: error %lu\n", path.c_str(), GetLastError());
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    std::string executableSuffix() const override { return ".exe"; }
};

} // namespace

std::unique_ptr<ProgramWindows> makeNativeProgramWindows() {
    return std::make_unique<Win32ProgramWindows>();
}

} // namespace trelvik::platform
