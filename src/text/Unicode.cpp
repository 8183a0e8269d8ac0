// SPDX-License-Identifier: MIT
#include "text/Unicode.h"

#include <array>
#include <cstdint>

namespace trelvik::text {

namespace {

struct Utf8Step {
    char32_t codePoint; // kReplacementCharacter when !valid
    std::size_t length; // bytes consumed, at least 1
    bool valid;
};

// Decodes the sequence starting at `pos` (pos < bytes.size()). On an ill-formed sequence
// the step covers its maximal subpart: the lead byte and every continuation byte that
// could still have belonged to a well-formed sequence. That is the substitution practice
// Unicode recommends and what browsers and ICU do, so our U+FFFD counts match theirs.
Utf8Step decodeUtf8(std::string_view bytes, std::size_t pos) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byteAt(pos);
    if (lead < 0x80) return {lead, 1, true};

    std::size_t needed = 0;         // continuation bytes after the lead
    unsigned char secondLow = 0x80; // allowed range of the first continuation byte
    unsigned char secondHigh = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 1;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 2;
        codePoint = lead & 0x0Fu;
        if (lead == 0xE0) secondLow = 0xA0;  // overlong
        if (lead == 0xED) secondHigh = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 3;
        codePoint = lead & 0x07u;
        if (lead == 0xF0) secondLow = 0x90;  // overlong
        if (lead == 0xF4) secondHigh = 0x8F; // above U+10FFFF
    } else {
        return {kReplacementCharacter, 1, false}; // continuation byte, C0, C1 or F5..FF
    }

    for (std::size_t k = 1; k <= needed; ++k) {
        if (pos + k >= bytes.size()) return {kReplacementCharacter, k, false};
        const unsigned char b = byteAt(pos + k);
        const unsigned char low = k == 1 ? secondLow : 0x80;
        const unsigned char high = k == 1 ? secondHigh : 0xBF;
        if (b < low || b > high) return {kReplacementCharacter, k, false};
        codePoint = (codePoint << 6) | (b & 0x3Fu);
    }
    return {codePoint, needed + 1, true};
}

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// Bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // ASCII runs are the common case in command files.
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const Utf8Step step = decodeUtf8(bytes, pos);
        if (!step.valid) return false;
        pos += step.length;
    }
    return true;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const Utf8Step step = decodeUtf8(bytes, pos);
        appendUtf16(out, step.codePoint);
        pos += step.length;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (isHighSurrogate(u) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            const char32_t cp =
                0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            appendUtf8(out, cp);
            ++i;
        } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
            appendUtf8(out, kReplacementCharacter);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

char16_t windows1252ToUtf16(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kWindows1252High[byte - 0x80];
    return static_cast<char16_t>(byte);
}

std::u16string windows1252ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = windows1252ToUtf16(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string_view cutUtf8(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    std::size_t pos = 0;
    while (pos < maxBytes) {
        const std::size_t length = decodeUtf8(utf8, pos).length;
        if (pos + length > maxBytes) break;
        pos += length;
    }
    return utf8.substr(0, pos);
}

namespace {
// Latin Extended-A pairs a capital with the small letter after it, except where a lone letter
// (dotless i, kra, the old long s and n) shifts the pairing by one.
char16_t foldLatinExtendedA(char16_t c) {
    const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    if (c == 0x178) return 0xFF;
    const bool capital = oddCapitals ? (c % 2 == 1) : (c % 2 == 0);
    return capital ? static_cast<char16_t>(c + 1) : c;
}
} // namespace

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded(text);
    for (char16_t& c : folded) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
            (c >= 0x410 && c <= 0x42F))
            c = static_cast<char16_t>(c + 0x20);
        else if (c >= 0x400 && c <= 0x40F)
            c = static_cast<char16_t>(c + 0x50);
        else if (c >= 0x100 && c <= 0x17F)
            c = foldLatinExtendedA(c);
    }
    return folded;
}

} // namespace trelvik::text
