// SPDX-License-Identifier: MIT
#include "i18n/MessageCatalog.h"

#include <cstdint>
#include <cstdio>

#include "text/Hex.h"

namespace trelvik::i18n {

namespace {
constexpr std::size_t kReadBufferSize = 256;
constexpr std::size_t kMaxPlainLabelLength = 254;
constexpr char16_t kStringSection[] = u"String";
constexpr char16_t kLanguageSection[] = u"Language";

// Our keys are plain ASCII, so widening byte by byte is exact.
std::u16string widenAscii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
} // namespace

void cutText(std::u16string& text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return;
    std::size_t length = maxUnits;
    if (length > 0 && isHighSurrogate(text[length - 1])) --length;
    text.resize(length);
}

MessageCatalog::MessageCatalog(const platform::ProfileReader& reader, const platform::TextCodec& codec)
    : m_reader(reader), m_codec(codec) {}

std::u16string MessageCatalog::msgKey(int msgId) const {
    // The sum may come from a "#" label of any size: add without signed overflow.
    const std::uint32_t sum = static_cast<std::uint32_t>(msgId) + static_cast<std::uint32_t>(LanguageBase);
    char key[16];
    std::snprintf(key, sizeof key, "%04X", static_cast<unsigned>(sum));
    return widenAscii(key);
}

std::optional<std::u16string> MessageCatalog::findMsgText(int msgId) const {
    if (MessageFilePath.empty()) return std::nullopt;
    std::u16string text =
        m_reader.getStringW(MessageFilePath, kStringSection, msgKey(msgId), kReadBufferSize);
    if (text.empty()) return std::nullopt;
    return text;
}

std::u16string MessageCatalog::GetMsgText(int msgId) const {
    if (auto text = findMsgText(msgId)) return std::move(*text);
    return u"<n/a:" + msgKey(msgId) + u">";
}

std::u16string MessageCatalog::GetLabelText(std::string_view text) const {
    if (!text.empty() && text.front() == '#') return GetMsgText(text::HexToInt(text.substr(1)));
    std::u16string wide = m_codec.toWide(text);
    cutText(wide, kMaxPlainLabelLength);
    return wide;
}

bool MessageCatalog::ReadLanguageEntry(int number, LanguageEntry& entry) const {
    if (MessageFilePath.empty()) return false;
    const std::u16string key = widenAscii(std::to_string(number));
    const std::u16string value = m_reader.getStringW(MessageFilePath, kLanguageSection, key, kReadBufferSize);
    if (value.empty()) return false;

    std::u16string fields[3];
    std::size_t count = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(u',', start);
        const std::size_t end = comma == std::u16string::npos ? value.size() : comma;
        if (count == 3) return false; // a fourth field
        fields[count++] = value.substr(start, end - start);
        if (comma == std::u16string::npos) break;
        start = comma + 1;
    }
    if (count != 3) return false;

    for (std::u16string& field : fields)
        cutText(field, kMaxLanguageFieldLength);
    cutText(fields[0], kMaxLanguageNameLength);
    entry.display_name = std::move(fields[0]);
    entry.lang_id =
        static_cast<std::uint16_t>(static_cast<std::uint32_t>(text::HexToIntW(fields[1])) & 0xFFFFu);
    entry.base = text::HexToIntW(fields[2]);
    return true;
}

std::vector<LanguageEntry> MessageCatalog::readLanguageTable() const {
    std::vector<LanguageEntry> table;
    for (int number = 0; number < kMaxLanguages; ++number) {
        LanguageEntry entry;
        if (!ReadLanguageEntry(number, entry)) break;
        table.push_back(std::move(entry));
    }
    return table;
}

std::optional<int> ChooseLanguage(const std::vector<LanguageEntry>& entries, std::uint16_t systemLangId) {
    if (entries.empty()) return std::nullopt;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint16_t id = entries[i].lang_id;
        const bool anyVariant = (id & 0xFF00u) == 0xFF00u && (id & 0x00FFu) == (systemLangId & 0x00FFu);
        if (id == systemLangId || anyVariant) return static_cast<int>(i);
    }
    return 0;
}

} // namespace trelvik::i18n
