// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "support/CaseName.h"
#include "text/Hex.h"

namespace trelvik::text {
namespace {

struct HexCase {
    const char* text;
    std::int32_t value;
};

class HexToIntTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexToIntTest, NarrowAndWideAgree) {
    const HexCase& c = GetParam();
    EXPECT_EQ(HexToInt(c.text), c.value) << c.text;
    const std::string narrow(c.text);
    EXPECT_EQ(HexToIntW(std::u16string(narrow.begin(), narrow.end())), c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Digits, HexToIntTest,
                         ::testing::Values(HexCase{"", 0}, HexCase{"x1", 0}, HexCase{"1A", 26},
                                           HexCase{"1a", 26}, HexCase{"fF", 255}, HexCase{"1G", 1},
                                           HexCase{"0x10", 0}, HexCase{" 1", 0}, HexCase{"7FFFFFFF", INT_MAX},
                                           HexCase{"80000000", INT_MIN}, HexCase{"FFFFFFFF", -1},
                                           HexCase{"100000000", 0}, HexCase{"123456789", 0x23456789},
                                           HexCase{"FFFFFFFFFFFFFFFFFFFF", -1}),
                         testing::caseNames(&HexCase::text));

TEST(HexToIntW, IgnoresNonAsciiLookalikes) {
    // Fullwidth digits and letters are not hexadecimal digits.
    EXPECT_EQ(HexToIntW(u"\uFF11\uFF21"), 0);
    EXPECT_EQ(HexToIntW(u"1\uFF21"), 1);
}

struct StrictCase {
    const char* text;
    std::uint32_t max;
    std::optional<std::uint32_t> hex;    // parseHex
    std::optional<std::uint32_t> number; // parseNumber
};

class StrictNumberTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictNumberTest, WholeTextOrNothing) {
    const StrictCase& c = GetParam();
    EXPECT_EQ(parseHex(c.text, c.max), c.hex) << c.text;
    EXPECT_EQ(parseNumber(c.text, c.max), c.number) << c.text;
}

constexpr auto kNone = std::nullopt;
INSTANTIATE_TEST_SUITE_P(
    Texts, StrictNumberTest,
    ::testing::Values(StrictCase{"2e7a", 0xFFFF, 0x2E7A, kNone}, StrictCase{"0x2E7A", 0xFFFF, 0x2E7A, 0x2E7A},
                      StrictCase{"0XfFfF", 0xFFFF, 0xFFFF, 0xFFFF},
                      StrictCase{"0x10000", 0xFFFF, kNone, kNone},
                      StrictCase{"000000000000000000001", 0xFF, 1, 1}, StrictCase{"78", 0xFF, 0x78, 78},
                      StrictCase{"255", 0xFF, kNone, 255}, StrictCase{"256", 0xFF, kNone, kNone},
                      StrictCase{"0xFF", 0xFF, 0xFF, 0xFF}, StrictCase{"0x100", 0xFF, kNone, kNone},
                      StrictCase{"", 0xFF, kNone, kNone}, StrictCase{"0x", 0xFF, kNone, kNone},
                      StrictCase{" 1", 0xFF, kNone, kNone}, StrictCase{"1 ", 0xFF, kNone, kNone},
                      StrictCase{"-1", 0xFF, kNone, kNone}, StrictCase{"+1", 0xFF, kNone, kNone},
                      StrictCase{"0x0x1", 0xFF, kNone, kNone}, StrictCase{"1G", 0xFF, kNone, kNone},
                      // Long runs must be refused, not wrapped around into a small value.
                      StrictCase{"100000001", 0xFFFFFFFF, kNone, 100000001},
                      StrictCase{"1FFFFFFFF", 0xFFFFFFFF, kNone, kNone},
                      StrictCase{"4294967296", 0xFFFFFFFF, kNone, kNone},
                      StrictCase{"0xFFFFFFFF", 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
                      // A single digit above a small maximum: a media slot is 0-3.
                      StrictCase{"4", 3, kNone, kNone}, StrictCase{"3", 3, 3, 3},
                      StrictCase{"0xF", 3, kNone, kNone}, StrictCase{"9", 0, kNone, kNone}),
    testing::caseNames(&StrictCase::text));

} // namespace
} // namespace trelvik::text
