// SPDX-License-Identifier: MIT
#include "platform/windows/Win32Error.h"

#include <windows.h>

namespace trelvik::platform {

std::string systemErrorText(unsigned long code) {
    LPSTR text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string reason = length != 0 && text ? std::string(text, length) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

} // namespace trelvik::platform
