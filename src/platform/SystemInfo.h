// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace trelvik::platform {

// Facts about the running process and its machine that start-up needs.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // The system's language as a Windows LANGID. Example: 0x0807 for de_CH.UTF-8, 0x0409 for C.
    virtual std::uint16_t systemLangId() const = 0;
    // The executable's real path, symlinks resolved. Example: "/opt/trelvik/trelvik".
    // Empty when the system cannot tell.
    virtual std::optional<std::string> executablePath() const = 0;
    // Whether a regular file exists at `path`. Example: fileExists("/opt/trelvik/mass_cmd.ini") -> true.
    virtual bool fileExists(const std::string& path) const = 0;
    // The separator between folder and file names in `executablePath`: '/' or '\\'.
    virtual char pathSeparator() const = 0;
};

} // namespace trelvik::platform
