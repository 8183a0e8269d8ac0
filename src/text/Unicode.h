// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Pure conversions between the encodings our files and the OS hand us: UTF-8, UTF-16
// (std::u16string is the tool's wide text) and Windows-1252 (old command files).
namespace trelvik::text {

inline constexpr char16_t kReplacementCharacter = u'\uFFFD';

// True when `bytes` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence. NUL bytes are valid. Example: "Gr\xc3\xbc\xc3\x9f" -> true,
// "\xe4" -> false.
bool isValidUtf8(std::string_view bytes);

// UTF-8 to UTF-16. Each maximal ill-formed subsequence becomes one U+FFFD, so any input
// converts. Example: "a\xe6\x97\xa5" -> u"a日"; "\xe6\x97" -> u"\uFFFD".
std::u16string utf8ToUtf16(std::string_view bytes);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD ("\xef\xbf\xbd").
// Example: u"\U0001F600" -> "\xf0\x9f\x98\x80".
std::string utf16ToUtf8(std::u16string_view units);

// One Windows-1252 byte as UTF-16. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the code point of the same number, as Windows does.
// Example: 0x80 -> u'\u20AC', 0x81 -> u'\u0081', 0xE4 -> u'ä'.
char16_t windows1252ToUtf16(unsigned char byte);

// A whole Windows-1252 string as UTF-16, one unit per byte. Example: "\x93x\x94" -> u"“x”".
std::u16string windows1252ToUtf16(std::string_view bytes);

// The longest prefix of `utf8` of at most `maxBytes` bytes that does not end inside a
// character. An ill-formed subsequence counts as one character (it converts to one
// U+FFFD), so the prefix never splits one either. Example: ("a\xc3\xa4", 2) -> "a".
std::string_view cutUtf8(std::string_view utf8, std::size_t maxBytes);

// `text` with its capital letters made small, for matching names and labels without regard
// to case: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic, the scripts of the languages
// a command file's labels are written in. Example: u"FRANÇAIS" -> u"français".
std::u16string foldCase(std::u16string_view text);

} // namespace trelvik::text
