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
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "text/Unicode.h"

namespace trelvik::testing {

// How identifier() treats ASCII characters other than letters and digits.
enum class Punctuation {
    Separates, // each run of them is one '_'
    Spelled,   // each is a word of its own, "x" and its code: where the marks are the point
};

// `text` as a GoogleTest name, which allows ASCII letters, digits and '_' only: letters and
// digits stay, other characters as `punctuation` says, and a byte beyond ASCII is "x" and its
// value. Cut after 64 characters; "" is "empty".
// Examples: "0x10:Sixteen ; remark" -> "0x10_Sixteen_remark", spelled "a\\nb" -> "a_x5C_nb".
inline std::string identifier(std::string_view text, Punctuation punctuation = Punctuation::Separates) {
    std::string name;
    bool apart = false; // a '_' is due before the next letter or digit
    for (const char c : text) {
        if (name.size() >= 64) break;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            if (apart && !name.empty()) name += '_';
            name += c;
            apart = false;
        } else if (punctuation == Punctuation::Separates && static_cast<unsigned char>(c) < 0x80) {
            apart = true;
        } else {
            char word[8];
            std::snprintf(word, sizeof word, "%sx%02X", name.empty() ? "" : "_",
                          static_cast<unsigned char>(c));
            name += word;
            apart = true;
        }
    }
    return name.empty() ? "empty" : name;
}

namespace caseNameDetail {

// Where an instantiation stands, taken as a default argument at its place. std::source_location
// would do, but clang 14 with this libstdc++ lacks it; the builtins are in both compilers.
struct Site {
    const char* file;
    unsigned line; // one instantiation to a line
};

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

// The names an instantiation's cases got, by index. GoogleTest makes a new generator each time
// it asks, and asks again for every test of the suite, so the names are kept by the place of
// the instantiation: a case keeps its first name, and a name taken gets "_2", "_3"...
inline std::string nameOnce(const Site& site, std::size_t index, const std::string& base) {
    static std::map<std::pair<std::string, unsigned>, std::map<std::size_t, std::string>> all;
    std::map<std::size_t, std::string>& names = all[{site.file, site.line}];
    if (const auto named = names.find(index); named != names.end()) return named->second;
    std::set<std::string> taken;
    for (const auto& [other, name] : names)
        taken.insert(name);
    std::string name = base;
    for (int n = 2; taken.count(name) != 0; ++n)
        name = base + "_" + std::to_string(n);
    return names[index] = name;
}

} // namespace caseNameDetail

// A name generator for INSTANTIATE_TEST_SUITE_P: each case named by what `describe` (a
// function or a member pointer) gives for it: a text, a number, a list or a tuple of them.
template <typename Describe>
auto caseNames(Describe describe, Punctuation punctuation = Punctuation::Separates,
               caseNameDetail::Site site = {__builtin_FILE(), __builtin_LINE()}) {
    return [=](const auto& info) {
        std::string text;
        caseNameDetail::appendText(text, std::invoke(describe, info.param));
        return caseNameDetail::nameOnce(site, info.index, identifier(text, punctuation));
    };
}

// The name generator for cases that carry their own `name`.
inline auto namedCases(caseNameDetail::Site site = {__builtin_FILE(), __builtin_LINE()}) {
    return caseNames([](const auto& c) { return c.name; }, Punctuation::Separates, site);
}

} // namespace trelvik::testing
