// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileReader.h"
#include "platform/TextCodec.h"

namespace trelvik::i18n {

// Most languages a message file offers.
inline constexpr int kMaxLanguages = 16;
// Longest language name kept, and longest field of a language line, in UTF-16 units.
inline constexpr std::size_t kMaxLanguageNameLength = 15;
inline constexpr std::size_t kMaxLanguageFieldLength = 31;

// One language of the message file's "Language" section.
struct LanguageEntry {
    std::u16string display_name; // Example: u"Deutsch"
    std::uint16_t lang_id = 0;   // Windows LANGID; 0xFFnn matches every LANGID with low byte nn
    std::int32_t base = 0;       // added to every MsgId of this language. Example: 0x1000
};

// Texts of the message file in the current language. Nothing is cached: every lookup reads
// the file anew, so a changed LanguageBase takes effect with the next call.
class MessageCatalog {
public:
    MessageCatalog(const platform::ProfileReader& reader, const platform::TextCodec& codec);

    // Path of the message file; empty in the full tool, where every lookup falls back.
    std::u16string MessageFilePath;
    // Added to every MsgId to form its key. Example: 0x1000 for the German range.
    std::int32_t LanguageBase = 0;

    // Text of message `msgId` in the current language (at most 255 units), or
    // "<n/a:KEY>" with KEY = "%04X" of msgId + LanguageBase. Example: 0x140 at base 0 -> u"<n/a:0140>".
    std::u16string GetMsgText(int msgId) const;

    // As GetMsgText, but nullopt where the file has no (or an empty) value for the key.
    std::optional<std::u16string> findMsgText(int msgId) const;

    // Resolves a name or label of the command table: "#" and hexadecimal digits name a
    // message (u"#140" -> GetMsgText(0x140)); any other text is converted as written, at
    // most 254 units. Example: "1280x960" -> u"1280x960".
    std::u16string GetLabelText(std::string_view text) const;

    // Reads entry `number` of the "Language" section: exactly three comma-separated fields
    // (name, LANGID hex, base hex), untrimmed. Fields are cut to 31 units, the name to 15.
    // Returns false, leaving `entry` unchanged, for a missing key or another field count.
    // Example: u"Deutsch,0407,1000" -> {u"Deutsch", 0x0407, 0x1000}.
    bool ReadLanguageEntry(int number, LanguageEntry& entry) const;

    // Entries 0, 1, ... until one cannot be read or kMaxLanguages have been read.
    std::vector<LanguageEntry> readLanguageTable() const;

    // The section key of a message: "%04X" of msgId + LanguageBase (wrapping in 32 bits).
    // Example: 0x140 at base 0x1000 -> u"1140".
    std::u16string msgKey(int msgId) const;

private:
    const platform::ProfileReader& m_reader;
    const platform::TextCodec& m_codec;
};

// The MsgIds the tool itself asks for, ascending; "#" labels of the command table may name more.
inline constexpr int kToolMsgIds[] = {256, 257, 258, 259, 260, 261, 262, 263, 264, 265, 266,
                                      267, 268, 269, 270, 277, 278, 281, 282, 283, 284, 285,
                                      286, 287, 288, 289, 290, 291, 292, 293, 294, 296, 297,
                                      304, 320, 321, 322, 323, 324, 325, 326, 327, 328, 329};

// The language start-up picks for the system's LANGID: the first entry whose lang_id equals
// it, or is 0xFFnn with nn its low byte; entry 0 when none matches; nullopt for an empty list.
// Example: {0xFF07, ...} with 0x0807 -> 0.
std::optional<int> ChooseLanguage(const std::vector<LanguageEntry>& entries, std::uint16_t systemLangId);

// Cuts `text` to at most `maxUnits` UTF-16 units without leaving half of a surrogate pair.
void cutText(std::u16string& text, std::size_t maxUnits);

} // namespace trelvik::i18n
