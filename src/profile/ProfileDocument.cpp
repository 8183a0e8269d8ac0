// SPDX-License-Identifier: MIT
#include "profile/ProfileDocument.h"

#include <algorithm>

#include "text/Unicode.h"

namespace trelvik::profile {

namespace {

// The reader's white space: TAB, LF, VT, FF, CR, SUB (the DOS end-of-file mark) and the
// space. Not NUL, not DEL, not the no-break space.
bool isProfileSpace(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool isLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r';
}

std::u16string_view trim(std::u16string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && isProfileSpace(s[begin]))
        ++begin;
    while (end > begin && isProfileSpace(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// Names and values are C strings to the Windows calls: they end at their first NUL.
std::u16string_view cutAtNul(std::u16string_view s) {
    const auto nul = s.find(u'\0');
    return nul == std::u16string_view::npos ? s : s.substr(0, nul);
}

// Names match without regard to case for ASCII letters only.
std::u16string foldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return folded;
}

// Names given to a lookup: a C string, then trimmed.
std::u16string queryName(std::u16string_view name) {
    return foldName(trim(cutAtNul(name)));
}

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
    // A dangling odd byte cannot form a unit and is dropped.
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return out;
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && bytes.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

ProfileDocument::ProfileDocument() {
    index();
}

ProfileDocument::ProfileDocument(std::string_view fileBytes) {
    using namespace std::string_view_literals;
    if (startsWith(fileBytes, "\xFF\xFE"sv)) {
        m_encoding = ProfileEncoding::Utf16Le;
        m_text = decodeUtf16(fileBytes.substr(2), false);
    } else if (startsWith(fileBytes, "\xFE\xFF"sv)) {
        m_encoding = ProfileEncoding::Utf16Be;
        m_text = decodeUtf16(fileBytes.substr(2), true);
    } else if (startsWith(fileBytes, "\xEF\xBB\xBF"sv)) {
        m_encoding = ProfileEncoding::Utf8WithBom;
        m_text = text::utf8ToUtf16(fileBytes.substr(3));
    } else if (text::isValidUtf8(fileBytes)) {
        m_encoding = ProfileEncoding::Utf8;
        m_text = text::utf8ToUtf16(fileBytes);
    } else {
        m_encoding = ProfileEncoding::Windows1252;
        m_text = text::windows1252ToUtf16(fileBytes);
    }
    index();
}

void ProfileDocument::index() {
    // The nameless section always exists and comes first, so a later "[]" header is a
    // duplicate of it and unreachable.
    KeyIndex* current = &m_sections[u""];
    const std::size_t size = m_text.size();
    std::size_t pos = 0;
    while (pos < size) {
        // Any run of CR and LF is one break; empty lines add nothing anyway.
        while (pos < size && isLineBreak(m_text[pos]))
            ++pos;
        std::size_t end = pos;
        while (end < size && !isLineBreak(m_text[end]))
            ++end;
        if (end > pos) addLine(pos, end, current);
        pos = end;
    }
}

void ProfileDocument::addLine(std::size_t begin, std::size_t end, KeyIndex*& current) {
    const std::u16string_view whole(m_text);
    const std::u16string_view line = trim(whole.substr(begin, end - begin));
    if (line.empty()) return;

    if (line.front() == u'[') {
        const auto close = line.rfind(u']');
        if (close != std::u16string_view::npos) {
            const std::u16string_view name = cutAtNul(trim(line.substr(1, close - 1)));
            // try_emplace keeps the first section of a name; keys of a later one go nowhere.
            const auto [it, inserted] = m_sections.try_emplace(foldName(name));
            current = inserted ? &it->second : nullptr;
            return;
        }
        // Without "]" the line is an ordinary key line.
    }
    if (!current) return;

    const auto equals = line.find(u'=');
    std::u16string_view name = line;
    Value value;
    if (equals != std::u16string_view::npos) {
        name = trim(line.substr(0, equals));
        std::u16string_view text = cutAtNul(trim(line.substr(equals + 1)));
        // One pair of the same quote enclosing the whole value is dropped, nothing more.
        if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') &&
            text.back() == text.front())
            text = text.substr(1, text.size() - 2);
        value.offset = text.empty() ? 0 : static_cast<std::size_t>(text.data() - m_text.data());
        value.length = text.size();
        value.present = true;
    }
    current->try_emplace(foldName(cutAtNul(name)), value);
}

std::optional<std::u16string> ProfileDocument::lookup(std::u16string_view section,
                                                      std::u16string_view key) const {
    const auto sectionIt = m_sections.find(queryName(section));
    if (sectionIt == m_sections.end()) return std::nullopt;
    const auto keyIt = sectionIt->second.find(queryName(key));
    if (keyIt == sectionIt->second.end() || !keyIt->second.present) return std::nullopt;
    return m_text.substr(keyIt->second.offset, keyIt->second.length);
}

std::string ProfileDocument::getString(std::string_view section, std::string_view key,
                                       std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    const auto value = lookup(text::utf8ToUtf16(section), text::utf8ToUtf16(key));
    if (!value) return {};
    return truncateNarrow(text::utf16ToUtf8(*value), bufferSize);
}

std::u16string ProfileDocument::getStringW(std::u16string_view section, std::u16string_view key,
                                           std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    const auto value = lookup(section, key);
    if (!value) return {};
    return truncateWide(*value, bufferSize);
}

std::u16string truncateWide(std::u16string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::u16string(value.substr(0, std::min(value.size(), bufferSize - 1)));
}

std::string truncateNarrow(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(text::cutUtf8(value, bufferSize - 1));
}

} // namespace trelvik::profile
