// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

// Header-only so that the message file reader can use the same digits rule without the
// message library linking the command table library (which links it).
namespace trelvik::text {

namespace detail {
// Value of one hexadecimal digit, or -1 for any other character.
template <typename Char>
constexpr int hexDigitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) return static_cast<int>(c - Char('0'));
    if (c >= Char('A') && c <= Char('F')) return static_cast<int>(c - Char('A')) + 10;
    if (c >= Char('a') && c <= Char('f')) return static_cast<int>(c - Char('a')) + 10;
    return -1;
}

template <typename Char>
constexpr std::int32_t hexToInt(std::basic_string_view<Char> text) {
    // Unsigned arithmetic: long digit runs wrap in 32 bits instead of overflowing.
    std::uint32_t value = 0;
    for (Char c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0) break;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}
} // namespace detail

// Value of the hexadecimal digits at the start of `text`, stopping at the first other
// character; wraps in 32 bits. Examples: "1A" -> 26, "x1" -> 0, "FFFFFFFF" -> -1, "100000000" -> 0.
inline std::int32_t HexToInt(std::string_view text) { return detail::hexToInt(text); }

// HexToInt over UTF-16 text; only ASCII digits and letters count. Example: u"0404" -> 0x404.
inline std::int32_t HexToIntW(std::u16string_view text) { return detail::hexToInt(text); }

} // namespace trelvik::text
