// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace trelvik::platform {

// Facts about the running process and its machine, for start-up and the command line.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // The system's language as a Windows LANGID. Examples: 0x0807 for de_CH.UTF-8; 0x0409 for
    // an unset locale, "C" or "POSIX".
    virtual std::uint16_t systemLangId() const = 0;
    // The executable's path as the system knows it: on Linux its real path with every link
    // resolved, so a link on the PATH still finds the files beside the executable; on Windows
    // the module's file name. nullopt when the system cannot tell (on Windows also for a path
    // longer than MAX_PATH). Example: "/usr/lib/trelvik/trelvik".
    virtual std::optional<std::string> executablePath() const = 0;
    // Whether `path` names a file that exists and is no folder (on Linux: a regular file, links
    // followed). Example: fileExists("/usr/lib/trelvik/mass_cmd.ini") -> true.
    virtual bool fileExists(const std::string& path) const = 0;
    // The separator between folder and file names in `executablePath`: '/' or '\\'.
    virtual char pathSeparator() const = 0;
};

} // namespace trelvik::platform
