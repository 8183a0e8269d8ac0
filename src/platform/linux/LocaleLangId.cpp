// SPDX-License-Identifier: MIT
#include "platform/linux/LocaleLangId.h"

#include <unicode/uloc.h>

#include <cstdlib>

namespace trelvik::platform::linux_impl {

namespace {
constexpr std::uint16_t kUsEnglish = 0x0409;
}

std::uint16_t LangIdFromLocaleName(const std::string& localeName) {
    // "de_CH.UTF-8@euro" -> "de_CH": ICU does not want the code set or the modifier.
    std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return kUsEnglish;
    const std::uint32_t lcid = uloc_getLCID(name.c_str());
    if (lcid == 0) return kUsEnglish;
    return static_cast<std::uint16_t>(lcid & 0xFFFF);
}

std::string MessagesLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "C";
}

} // namespace trelvik::platform::linux_impl
