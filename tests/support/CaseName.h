// SPDX-License-Identifier: MIT
// Names for the cases of parameterised tests. Left alone, GoogleTest names a case by its index
// and ctest by the case printed, a struct as its bytes ("16-byte object <20-E2 FB-21 ...>"),
// which change from build to build; these name it by what it is about. Within namespace
// trelvik, `testing::` is this namespace:
//
//     INSTANTIATE_TEST_SUITE_P(Digits, HexToIntTest, ::testing::Values(HexCase{"1A", 26}, ...),
//                              testing::caseNames(&HexCase::text)); // names the first case 1A
//     INSTANTIATE_TEST_SUITE_P(Files, LoadErrorTest, ::testing::ValuesIn(kLoadErrors),
//                              testing::namedCases()); // by the cases' own `name` field
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <ostream>
#include <ranges>
#include <set>
#include <source_location>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "text/Unicode.h"

namespace trelvik::testing {

namespace caseNameDetail {

// The text a part of a case stands for in its name: strings as they are (UTF-16 as UTF-8),
// numbers in decimal, a list or tuple its parts one after another.
template <typename T> void appendText(std::string& out, const T& part) {
    if (!out.empty()) out += ' ';
    if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        if constexpr (std::is_pointer_v<T>)
            out += part ? std::string_view(part) : std::string_view("null");
        else
            out += std::string_view(part);
    } else if constexpr (std::is_convertible_v<const T&, std::u16string_view>) {
        out += trelvik::text::utf16ToUtf8(part);
    } else if constexpr (std::is_same_v<T, bool>) {
        out += part ? "true" : "false";
    } else if constexpr (std::is_arithmetic_v<T>) {
        out += std::to_string(part);
    } else if constexpr (std::ranges::range<T>) {
        for (const auto& item : part)
            appendText(out, item);
    } else {
        std::apply([&](const auto&... items) { (appendText(out, items), ...); }, part);
    }
}

// Where each instantiation's cases got their names: by the place of the instantiation, each
// index's name and the names taken.
struct Instantiation {
    std::map<std::size_t, std::string> byIndex;
    std::set<std::string> taken;
};
inline Instantiation& instantiationAt(const std::source_location& site) {
    static std::map<std::tuple<std::string, unsigned, unsigned>, Instantiation> all;
    return all[{site.file_name(), site.line(), site.column()}];
}

} // namespace caseNameDetail

// How identifier() treats the ASCII characters other than letters and digits.
enum class Punctuation {
    Separates, // each run of them is one '_', but a sign before a number is "minus" or "plus"
    Spelled,   // each is a word of its own: "blank", "minus", "colon"... or "x" and its code in hex;
               // only a blank between two words stays a plain '_'
};

// `text` (UTF-8) as a GoogleTest name, which allows ASCII letters, digits and '_' only: letters
// and digits stay, other ASCII characters as `punctuation` says, a character beyond ASCII is a
// word of its own, "U" and its code point in hex, as is a byte that is not UTF-8, "x" and its
// value. Words are joined by '_'. Long texts are cut after 64 characters; "" is "empty".
// Examples: "0x10:Sixteen ; remark" -> "0x10_Sixteen_remark", "-5-5" -> "minus_5_5",
// "Grüß" -> "Gr_U00FC_U00DF", spelled: "1- 10" -> "1_minus_blank_10".
inline std::string identifier(std::string_view text, Punctuation punctuation = Punctuation::Separates) {
    constexpr std::size_t kMaxLength = 64;
    constexpr std::pair<char, const char*> kSpelled[] = {
        {' ', "blank"},  {'\t', "tab"},  {'\n', "newline"},   {'\r', "return"},
        {'-', "minus"},  {'+', "plus"},  {':', "colon"},      {';', "semicolon"},
        {',', "comma"},  {'.', "dot"},   {'"', "quote"},      {'#', "hash"},
        {'=', "equals"}, {'/', "slash"}, {'\\', "backslash"}, {'%', "percent"},
    };
    const auto alnum = [&](std::size_t i) {
        const char c = i < text.size() ? text[i] : ' ';
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    const auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    std::string name;
    bool apart = false; // a separator is due before the next word character
    const auto word = [&](std::string_view piece, bool own) {
        if (!name.empty() && (apart || own)) name += '_';
        name += piece;
        apart = own;
    };
    char spelled[16];
    for (std::size_t i = 0; i < text.size() && name.size() < kMaxLength;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (alnum(i)) {
                word(std::string_view(&text[i], 1), false);
            } else if (punctuation == Punctuation::Separates) {
                const bool sign = (byte == '-' || byte == '+') && digit(i + 1) && (i == 0 || !alnum(i - 1));
                if (sign)
                    word(byte == '-' ? "minus" : "plus", true);
                else
                    apart = true;
            } else if (byte == ' ' && i > 0 && alnum(i - 1) && alnum(i + 1)) {
                apart = true;
            } else {
                std::snprintf(spelled, sizeof spelled, "x%02X", byte);
                for (const auto& [character, spelling] : kSpelled)
                    if (character == text[i]) std::snprintf(spelled, sizeof spelled, "%s", spelling);
                word(spelled, true);
            }
            ++i;
            continue;
        }
        // A UTF-8 sequence: its length from the lead byte, its bits from the rest.
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
        char32_t code = length == 4 ? byte & 0x07 : length == 3 ? byte & 0x0F : byte & 0x1F;
        bool whole = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            whole = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (whole)
            std::snprintf(spelled, sizeof spelled, "U%04X", static_cast<unsigned>(code));
        else
            std::snprintf(spelled, sizeof spelled, "x%02X", byte);
        word(spelled, true);
        i += whole ? length : 1;
    }
    if (name.size() > kMaxLength) name.resize(kMaxLength);
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "empty" : name;
}

inline std::string identifier(std::u16string_view text, Punctuation punctuation = Punctuation::Separates) {
    return identifier(trelvik::text::utf16ToUtf8(text), punctuation);
}

// The name of the case at `index` of the instantiation at `site`: `text` as an identifier; its
// punctuation spelled where an earlier case of that instantiation has taken that name already
// ("1-10", then "1- 10": "1_10", "1_minus_blank_10") or where the text is nothing else; then
// "_2", "_3"... GoogleTest asks once for every test of the suite; a case keeps its first name.
inline std::string caseName(std::string_view text, std::size_t index, const std::source_location& site,
                            Punctuation punctuation = Punctuation::Separates) {
    caseNameDetail::Instantiation& here = caseNameDetail::instantiationAt(site);
    if (const auto named = here.byIndex.find(index); named != here.byIndex.end()) return named->second;
    std::string base = identifier(text, punctuation);
    if (here.taken.count(base) != 0 || (base == "empty" && !text.empty()))
        base = identifier(text, Punctuation::Spelled); // the same again where only words differ
    std::string name = base;
    for (int n = 2; here.taken.count(name) != 0; ++n)
        name = base + "_" + std::to_string(n);
    here.taken.insert(name);
    return here.byIndex[index] = name;
}

// A name generator for INSTANTIATE_TEST_SUITE_P: each case named by what `describe` (a
// function or a member pointer) gives for it: a text, a number, a list of them, or a tuple of
// any of these for a name of several parts. Example: caseNames([](const CutCase& c) {
// return std::tuple(c.text, c.maxBytes); }) names {"abc", 2, "ab"} "abc_2". Where punctuation
// is what the cases are about, Punctuation::Spelled names each mark: "a\\nb" -> "a_backslash_nb".
template <typename Describe> class CaseNames {
public:
    CaseNames(Describe describe, Punctuation punctuation, std::source_location site)
        : m_describe(std::move(describe)), m_punctuation(punctuation), m_site(site) {}
    template <typename Param> std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
        std::string text;
        caseNameDetail::appendText(text, std::invoke(m_describe, info.param));
        return caseName(text, info.index, m_site, m_punctuation);
    }

private:
    Describe m_describe;
    Punctuation m_punctuation;
    std::source_location m_site; // the instantiation's, which keeps its names apart from others'
};

template <typename Describe>
CaseNames<Describe> caseNames(Describe describe, Punctuation punctuation = Punctuation::Separates,
                              std::source_location site = std::source_location::current()) {
    return {std::move(describe), punctuation, site};
}

// The name generator for cases that carry their own `name`.
inline auto namedCases(std::source_location site = std::source_location::current()) {
    return caseNames([](const auto& c) { return c.name; }, Punctuation::Separates, site);
}

} // namespace trelvik::testing
