// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A private-profile (INI) file parsed once, answering lookups with the rules of the Windows
// profile calls. Pure: it sees only the file's bytes, never the file system.
namespace trelvik::profile {

// How the file's bytes were read. Files without a byte-order mark are UTF-8 when they are
// well-formed UTF-8 and Windows-1252 otherwise, so files saved by old Windows editors read.
enum class ProfileEncoding { Utf16Le, Utf16Be, Utf8WithBom, Utf8, Windows1252 };

class ProfileDocument {
public:
    // An empty document: every lookup misses. Stands for a missing file.
    ProfileDocument();

    // Decodes and indexes the raw bytes of a file. Never fails; any bytes give a document.
    // Example: ProfileDocument("[APP]\r\nTitle = \"Cam\"\r\n").lookup(u"app", u"TITLE") -> u"Cam".
    explicit ProfileDocument(std::string_view fileBytes);

    // The encoding the bytes were read in. Example: ProfileEncoding::Utf16Le for FF FE ...
    ProfileEncoding encoding() const { return m_encoding; }

    // The value of `key` in the first section named `section`: trimmed, cut at its first
    // NUL, one pair of enclosing quotes removed, not truncated. Names are trimmed and match
    // without regard to ASCII case; "" names the lines before the first header (section)
    // or a "=value" line (key). nullopt when the section or key is missing or the key's
    // first line has no "=". Example: lookup(u"Mass_Cmd_00", u"cmd") -> u"0x01".
    std::optional<std::u16string> lookup(std::u16string_view section, std::u16string_view key) const;

    // The narrow call: names in UTF-8, the value as UTF-8 cut to at most bufferSize - 1
    // bytes at a character boundary; "" when missing. Example: getString("APP", "Title", 128).
    std::string getString(std::string_view section, std::string_view key, std::size_t bufferSize) const;

    // The wide call: the value cut to at most bufferSize - 1 UTF-16 units; u"" when missing.
    // Example: getStringW(u"String", u"0100", 256) -> u"Auto connect".
    std::u16string getStringW(std::u16string_view section, std::u16string_view key,
                              std::size_t bufferSize) const;

private:
    struct Value {
        std::size_t offset = 0; // into m_text
        std::size_t length = 0;
        bool present = false; // false for a line without "="
    };
    using KeyIndex = std::unordered_map<std::u16string, Value>;

    void index();
    void addLine(std::size_t begin, std::size_t end, KeyIndex*& current);

    ProfileEncoding m_encoding = ProfileEncoding::Utf8;
    std::u16string m_text;
    // Only the first section of each (folded) name gets an entry; later ones are unreachable.
    std::unordered_map<std::u16string, KeyIndex> m_sections;
};

// The first min(L, bufferSize - 1) UTF-16 units of `value` (a surrogate pair may be split,
// as the wide Windows call does); "" for bufferSize 0. Example: (u"abc", 3) -> u"ab".
std::u16string truncateWide(std::u16string_view value, std::size_t bufferSize);

// At most bufferSize - 1 bytes of the UTF-8 `value`, cut back to a whole character; ""
// for bufferSize 0. Example: ("a\xc3\xa4", 3) -> "a".
std::string truncateNarrow(std::string_view value, std::size_t bufferSize);

} // namespace trelvik::profile
