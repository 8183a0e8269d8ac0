// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "cmdtable/MassCmd.h"
#include "support/CaseName.h"

namespace trelvik::cmdtable {
namespace {

struct NumberCase {
    const char* text;
    std::int32_t value;
};

class CmdNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(CmdNumberTest, HexWithPrefixElseAtol) {
    EXPECT_EQ(parseCmdNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CmdNumberTest,
    ::testing::Values(NumberCase{"0x1A", 26}, NumberCase{"0X1a", 26}, NumberCase{"26", 26},
                      NumberCase{"abc", 0}, NumberCase{"0x1G", 1}, NumberCase{"0x", 0}, NumberCase{"0X", 0},
                      NumberCase{"0", 0}, NumberCase{"0xFFFFFFFF", -1}, NumberCase{"-1", -1},
                      NumberCase{"+7", 7}, NumberCase{" \t12", 12}, NumberCase{"12abc", 12},
                      NumberCase{"00x10", 0}, NumberCase{"x10", 0}, NumberCase{"- 5", 0},
                      NumberCase{"--5", 0},
                      // Beyond 32 bits the decimal rule saturates instead of overflowing.
                      NumberCase{"2147483647", INT_MAX}, NumberCase{"2147483648", INT_MAX},
                      NumberCase{"99999999999999999999999", INT_MAX}, NumberCase{"-2147483648", INT_MIN},
                      NumberCase{"-99999999999999999999999", INT_MIN}),
    testing::caseNames(&NumberCase::text));

TEST(ParseAtol, CountsLikeAtol) {
    EXPECT_EQ(parseAtol("3abc"), 3);
    EXPECT_EQ(parseAtol(""), 0);
    EXPECT_EQ(parseAtol("abc"), 0);
    EXPECT_EQ(parseAtol("\v\f\r\n 4"), 4);
    EXPECT_EQ(parseAtol("0x10"), 0);
}

struct TrimCase {
    const char* in;
    const char* out;
};

class TrimIniValueTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimIniValueTest, CutsAtLastSemicolonAndTrailingBlanks) {
    std::string text = GetParam().in;
    TrimIniValue(text);
    EXPECT_EQ(text, GetParam().out) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(Values, TrimIniValueTest,
                         ::testing::Values(TrimCase{"1:1280x960   ; note", "1:1280x960"},
                                           TrimCase{"2:A;B ; remark", "2:A;B"}, TrimCase{"2:A;B", "2:A"},
                                           TrimCase{" ; x", ""}, TrimCase{";", ""}, TrimCase{"a\t \t;c", "a"},
                                           TrimCase{"abc", "abc"}, TrimCase{"a \t ", "a"},
                                           TrimCase{"3:  Wide", "3:  Wide"}, TrimCase{"x\n;", "x\n"},
                                           TrimCase{"", ""}),
                         testing::caseNames(&TrimCase::in));

struct RangeCase {
    const char* text;
    int found;
    std::int32_t low, high;
};

class ScanRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(ScanRangeTest, ScansTwoDecimalsJoinedByDash) {
    const RangeCase& c = GetParam();
    std::int32_t low = 111, high = 222;
    EXPECT_EQ(scanRange(c.text, low, high), c.found) << c.text;
    if (c.found >= 1) EXPECT_EQ(low, c.low) << c.text;
    if (c.found == 2) EXPECT_EQ(high, c.high) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ScanRangeTest,
                         ::testing::Values(RangeCase{"1-10", 2, 1, 10}, RangeCase{"-5-5", 2, -5, 5},
                                           RangeCase{"1--5", 2, 1, -5}, RangeCase{"1- 10", 2, 1, 10},
                                           RangeCase{" 1-10xyz", 2, 1, 10}, RangeCase{"+1-+2", 2, 1, 2},
                                           RangeCase{"1 - 10", 1, 1, 0}, RangeCase{"5", 1, 5, 0},
                                           RangeCase{"5-", 1, 5, 0}, RangeCase{"3-x", 1, 3, 0},
                                           RangeCase{"a-b", 0, 0, 0}, RangeCase{"-", 0, 0, 0},
                                           RangeCase{"", 0, 0, 0}, RangeCase{"0-99999999999", 2, 0, INT_MAX}),
                         testing::caseNames(&RangeCase::text));

} // namespace
} // namespace trelvik::cmdtable
