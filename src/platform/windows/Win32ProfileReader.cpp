// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Native.h"
#include "platform/ProfileReader.h"

namespace trelvik::platform {

namespace {

// The profile calls take a DWORD size; nothing we read comes near this.
constexpr std::size_t kMaxBuffer = 1u << 20;

// The profile calls may cut a double-byte character of the ANSI code page in half; a
// dangling lead byte at the end is dropped so the answer is always whole characters.
std::size_t wholeCharacters(const char* text, std::size_t length) {
    std::size_t pos = 0;
    while (pos < length) {
        const bool lead = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(text[pos])) != 0;
        const std::size_t step = lead ? 2 : 1;
        if (pos + step > length) break;
        pos += step;
    }
    return pos;
}

class Win32ProfileReader final : public ProfileReader {
public:
    std::string getString(const std::string& path, std::string_view section, std::string_view key,
                          std::size_t bufferSize) const override {
        if (bufferSize == 0 || path.empty()) return {};
        const std::size_t size = std::min(bufferSize, kMaxBuffer);
        std::vector<char> buffer(size, '\0');
        // A relative name would be looked up in the Windows directory: callers pass full paths.
        const DWORD length =
            GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "",
                                     buffer.data(), static_cast<DWORD>(size), path.c_str());
        const std::size_t copied = std::min<std::size_t>(length, size - 1);
        return std::string(buffer.data(), wholeCharacters(buffer.data(), copied));
    }

    std::u16string getStringW(const std::u16string& path, std::u16string_view section,
                              std::u16string_view key, std::size_t bufferSize) const override {
        if (bufferSize == 0 || path.empty()) return {};
        const std::size_t size = std::min(bufferSize, kMaxBuffer);
        std::vector<wchar_t> buffer(size, L'\0');
        const std::wstring wideSection(section.begin(), section.end());
        const std::wstring wideKey(key.begin(), key.end());
        const std::wstring widePath(path.begin(), path.end());
        const DWORD length =
            GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", buffer.data(),
                                     static_cast<DWORD>(size), widePath.c_str());
        const std::size_t copied = std::min<std::size_t>(length, size - 1);
        return std::u16string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(copied));
    }
};

} // namespace

std::unique_ptr<ProfileReader> makeNativeProfileReader() {
    return std::make_unique<Win32ProfileReader>();
}

} // namespace trelvik::platform
