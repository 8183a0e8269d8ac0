// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace trelvik::platform {

// Converts between the system's narrow text (UTF-8 on Linux, the ANSI code page on
// Windows) and wide text (UTF-16). Invalid input never fails: it is replaced or mapped.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    // Example: toWide("Gr\xc3\xbc\xc3\x9f") -> u"Grüß".
    virtual std::u16string toWide(std::string_view narrow) const = 0;
    // Example: toNarrow(u"日本語") -> "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e" on Linux.
    virtual std::string toNarrow(std::u16string_view wide) const = 0;
};

} // namespace trelvik::platform
