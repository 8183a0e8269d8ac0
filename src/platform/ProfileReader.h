// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik::platform {

// Reads single values of a private-profile (INI) file with the rules of the Windows
// profile calls: names match without regard to ASCII case, values are trimmed, one pair of
// enclosing quotes is removed, the first of duplicate sections and keys wins, and the
// answer is cut to the caller's buffer. The default value is always empty.
class ProfileReader {
public:
    virtual ~ProfileReader() = default;

    // Narrow reader. `path` and the names are narrow text (UTF-8 on Linux, the ANSI code
    // page on Windows). Returns at most bufferSize - 1 bytes, never ending inside a
    // multi-byte character; "" for a missing file, section or key.
    // Example: getString("/opt/t/mass_cmd.ini", "APP", "Title", 128) -> "Trail camera".
    virtual std::string getString(const std::string& path, std::string_view section, std::string_view key,
                                  std::size_t bufferSize) const = 0;

    // Wide reader: the same lookup, answering UTF-16 cut to bufferSize - 1 code units.
    // Example: getStringW(u".../Camera_Setting_UNICODE_msg.ini", u"String", u"0100", 256) -> u"Auto connect".
    virtual std::u16string getStringW(const std::u16string& path, std::u16string_view section,
                                      std::u16string_view key, std::size_t bufferSize) const = 0;
};

} // namespace trelvik::platform
