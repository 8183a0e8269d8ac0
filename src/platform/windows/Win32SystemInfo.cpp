// SPDX-License-Identifier: MIT
#include <windows.h>

#include <memory>

#include "platform/Native.h"

namespace trelvik::platform {

namespace {

class Win32SystemInfo final : public SystemInfo {
public:
    std::uint16_t systemLangId() const override { return GetSystemDefaultLangID(); }

    std::optional<std::string> executablePath() const override {
        char buffer[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return std::nullopt;
        return std::string(buffer, length);
    }

    bool fileExists(const std::string& path) const override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    char pathSeparator() const override { return '\\'; }
};

class DebuggerOutputSink final : public platform::DebugSink {
public:
    void write(std::string_view line) override { OutputDebugStringA(std::string(line).c_str()); }
};

} // namespace

std::unique_ptr<SystemInfo> makeNativeSystemInfo() {
    return std::make_unique<Win32SystemInfo>();
}
std::unique_ptr<platform::DebugSink> makeNativeDebugSink() {
    return std::make_unique<DebuggerOutputSink>();
}

} // namespace trelvik::platform
