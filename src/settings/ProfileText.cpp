// SPDX-License-Identifier: MIT
#include "settings/ProfileText.h"

#include "settings/Encodings.h"
#include "text/Hex.h"
#include "text/Unicode.h"

namespace trelvik::settings {

namespace {

constexpr std::size_t kShownValueBytes = 32;

// Where the quote that closes a text opened at 0 stands; npos when none does.
std::size_t closingQuote(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size())
            ++i;
        else if (text[i] == '"')
            return i;
    }
    return std::string_view::npos;
}

struct Escape {
    std::uint8_t byte = 0;
    std::size_t length = 0; // 0: no escape starts here
};

// The escape that starts at `at`, a backslash.
Escape escapeAt(std::u16string_view text, std::size_t at) {
    if (at + 1 >= text.size()) return {};
    if (text[at + 1] == u'"' || text[at + 1] == u'\\') return {static_cast<std::uint8_t>(text[at + 1]), 2};
    if (text[at + 1] != u'x' || at + 3 >= text.size() || text[at + 2] > 0x7F || text[at + 3] > 0x7F)
        return {};
    const std::string digits{static_cast<char>(text[at + 2]), static_cast<char>(text[at + 3])};
    const auto value = text::parseHex(digits, 0xFF);
    return value ? Escape{static_cast<std::uint8_t>(*value), 4} : Escape{};
}

} // namespace

std::string quoteBytes(std::span<const std::uint8_t> bytes) {
    std::string quoted = "\"";
    for (const std::uint8_t byte : bytes) {
        if (byte == '"' || byte == '\\')
            quoted += std::string{'\\', static_cast<char>(byte)};
        else if (byte >= 0x20 && byte < 0x7F)
            quoted += static_cast<char>(byte);
        else
            quoted += text::hexByte(byte, "\\x");
    }
    return quoted + "\"";
}

std::string quoteBytes(std::string_view bytes) {
    return quoteBytes(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string profileValueText(std::string_view rest, std::string& error) {
    const std::string value = trimmed(rest);
    if (value.empty() || value.front() != '"') return trimmed(value.substr(0, value.find(';')));
    const std::size_t close = closingQuote(value);
    if (close == std::string::npos) return value; // the text reports its missing quote
    const std::string after = trimmed(std::string_view(value).substr(close + 1));
    if (!after.empty() && after.front() != ';')
        error = "text after the closing quote: write a quote inside a text as \\\"";
    return value.substr(0, close + 1);
}

TextBytes unquoteText(std::string_view value, std::size_t width) {
    if (!value.empty() && value.front() == '"') {
        if (value.size() < 2 || closingQuote(value) != value.size() - 1)
            return {{}, "the text " + shownValue(value) + " has no closing quote"};
        value = value.substr(1, value.size() - 2);
    }
    const std::u16string wide = text::utf8ToUtf16(value);
    TextBytes text;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char16_t c = wide[i];
        if (c < 0x20 || c == 0x7F)
            return {{},
                    "a raw byte " + text::hexByte(static_cast<std::uint8_t>(c)) +
                        " in the text: write it as " + text::hexByte(static_cast<std::uint8_t>(c), "\\x")};
        if (const Escape escape = c == u'\\' ? escapeAt(wide, i) : Escape{}; escape.length > 0) {
            text.bytes.push_back(escape.byte);
            i += escape.length - 1;
            continue;
        }
        const auto byte = byteOfTextCharacter(c);
        if (!byte) {
            const std::size_t units = c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() ? 2 : 1;
            return {{},
                    "\"" + text::utf16ToUtf8(wide.substr(i, units)) +
                        "\" stands for no byte the camera holds: write bytes as \\xHH"};
        }
        text.bytes.push_back(*byte);
    }
    if (text.bytes.size() > width)
        return {{}, "the text " + shownValue(value) + " is longer than " + std::to_string(width) + " bytes"};
    return text;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::string shownValue(std::string_view value) {
    if (value.size() <= kShownValueBytes + 8) return "\"" + std::string(value) + "\"";
    return "\"" + std::string(text::cutUtf8(value, kShownValueBytes)) + "...\"";
}

} // namespace trelvik::settings
