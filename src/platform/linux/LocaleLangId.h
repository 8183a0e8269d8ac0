// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace trelvik::platform::linux_impl {

// Maps a POSIX locale name to the Windows LANGID that a Windows system set to the same
// language reports. "C", "POSIX" and names ICU does not know give 0x0409 (US English).
// Examples: "de_CH.UTF-8" -> 0x0807, "zh_TW" -> 0x0404, "ja_JP.eucJP@x" -> 0x0411.
std::uint16_t LangIdFromLocaleName(const std::string& localeName);

// The locale that decides the language of messages: the first non-empty of LC_ALL,
// LC_MESSAGES and LANG.
std::string MessagesLocaleName();

} // namespace trelvik::platform::linux_impl
