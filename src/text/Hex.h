// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Hexadecimal numbers, one rule per meaning: the command and message files' lenient HexToInt,
// which stops at the first other character, and the strict parseHex and parseNumber for
// texts that must be a number and nothing else (USB ids, register codes, LANGIDs, arguments).
namespace trelvik::text {

namespace detail {
// Value of one hexadecimal digit, or -1 for any other character.
template <typename Char> constexpr int hexDigitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) return static_cast<int>(c - Char('0'));
    if (c >= Char('A') && c <= Char('F')) return static_cast<int>(c - Char('A')) + 10;
    if (c >= Char('a') && c <= Char('f')) return static_cast<int>(c - Char('a')) + 10;
    return -1;
}

template <typename Char> constexpr std::int32_t hexToInt(std::basic_string_view<Char> text) {
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
inline std::int32_t HexToInt(std::string_view text) {
    return detail::hexToInt(text);
}

// HexToInt over UTF-16 text; only ASCII digits and letters count. Example: u"0404" -> 0x404.
inline std::int32_t HexToIntW(std::u16string_view text) {
    return detail::hexToInt(text);
}

// The whole of `text` as hexadecimal digits, after an optional "0x" or "0X": at least one
// digit, value at most `max`. nullopt otherwise, however long the digits run.
// Examples: parseHex("2e7a", 0xFFFF) -> 0x2E7A, parseHex("0x10000", 0xFFFF) -> nullopt,
// parseHex("0x", 0xFF) -> nullopt, parseHex(" 1", 0xFF) -> nullopt.
constexpr std::optional<std::uint32_t> parseHex(std::string_view text, std::uint32_t max) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = detail::hexDigitValue(c);
        if (digit < 0) return std::nullopt;
        // Checked before it grows, so no run of digits can wrap around; a digit above `max`
        // is tested first, as max - digit would wrap itself.
        if (static_cast<std::uint32_t>(digit) > max ||
            value > (max - static_cast<std::uint32_t>(digit)) / 16u)
            return std::nullopt;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// The whole of `text` as "0x" followed by hexadecimal digits, or as decimal digits; at most
// `max`. No sign, no blanks. Examples: parseNumber("0x4E", 255) -> 78, parseNumber("78", 255)
// -> 78, parseNumber("256", 255) -> nullopt, parseNumber("4E", 255) -> nullopt.
constexpr std::optional<std::uint32_t> parseNumber(std::string_view text, std::uint32_t max) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return parseHex(text, max);
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (digit > max || value > (max - digit) / 10u) return std::nullopt;
        value = value * 10u + digit;
    }
    return value;
}

// Bytes as upper-case hexadecimal digits, two a byte. Example: {0xFC, 0x0B} -> "FC0B".
inline std::string hexDigits(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

// A byte as `prefix` and two upper-case hexadecimal digits, as messages, register codes and
// escapes name it. Examples: hexByte(0x4E) -> "0x4E", hexByte(0x01, "\\x") -> "\\x01".
inline std::string hexByte(std::uint8_t value, std::string_view prefix = "0x") {
    return std::string(prefix) + hexDigits({&value, 1});
}

} // namespace trelvik::text
