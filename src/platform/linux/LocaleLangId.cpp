// SPDX-License-Identifier: MIT
#include "platform/linux/LocaleLangId.h"

#include <dlfcn.h>
#include <unicode/uvernum.h>

#include <cstdlib>

namespace trelvik::platform::linux_impl {

namespace {

constexpr std::uint16_t kUsEnglish = 0x0409;

#define TRELVIK_TEXT_OF(x) #x
#define TRELVIK_TEXT(x) TRELVIK_TEXT_OF(x)

using GetLcid = std::uint32_t (*)(const char*);

// ICU is loaded when the language is first asked for, not with the program: most commands
// never ask, and loading it costs a quarter of a short command's start. The library and the
// symbol carry the version of the headers this was built with, as ICU names them.
GetLcid loadGetLcid() {
    static const GetLcid getLcid = []() -> GetLcid {
        void* icu = dlopen("libicuuc.so." TRELVIK_TEXT(U_ICU_VERSION_MAJOR_NUM), RTLD_LAZY | RTLD_LOCAL);
        if (!icu) return nullptr;
        return reinterpret_cast<GetLcid>(dlsym(icu, TRELVIK_TEXT(U_ICU_ENTRY_POINT_RENAME(uloc_getLCID))));
    }();
    return getLcid;
}

} // namespace

std::uint16_t LangIdFromLocaleName(const std::string& localeName) {
    // "de_CH.UTF-8@euro" -> "de_CH": ICU does not want the code set or the modifier.
    std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return kUsEnglish;
    const GetLcid getLcid = loadGetLcid();
    const std::uint32_t lcid = getLcid ? getLcid(name.c_str()) : 0;
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
