// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Texts in a settings profile: a camera's text registers and identity strings may hold any
// byte, yet each must stay one readable line of a UTF-8 file and come back byte for byte.
namespace trelvik::settings {

// Any bytes in double quotes: printable ASCII as itself, a quote as \" and a backslash as \\,
// every other byte as \xHH. Example: {'a', '"', 0x00, 0xE9} -> "\"a\\\"\\x00\\xE9\"".
std::string quoteBytes(std::span<const std::uint8_t> bytes);
std::string quoteBytes(std::string_view bytes);

// The value of a NAME=value line: a quoted text up to its closing quote (a comment may follow
// it), anything else trimmed up to a comment. `error` says what follows a closing quote that
// is neither blank nor a comment. Example: " \"a;b\" ; note" -> "\"a;b\"".
std::string profileValueText(std::string_view rest, std::string& error);

// The bytes of a text as quoteBytes writes it, within quotes or without, at most `width`.
// Profiles written before texts were escaped are read as they were meant where that is
// unambiguous: the window's control pictures (U+2400 to U+241F, U+2421) and Latin-1 letters
// stand for their bytes, and a backslash that starts no escape is a backslash.
struct TextBytes {
    std::vector<std::uint8_t> bytes; // the text's bytes, not filled up to `width`
    std::string error;               // empty when the text is good
};
TextBytes unquoteText(std::string_view value, std::size_t width);

// A value as an error message quotes it: cut after a few dozen characters, so a value of a
// megabyte is not printed back. Example: shownValue(40 x "a") -> 32 x "a" + "...".
std::string shownValue(std::string_view value);

// `text` without the blanks and tabs around it. Example: " a b\t" -> "a b".
std::string trimmed(std::string_view text);

} // namespace trelvik::settings
