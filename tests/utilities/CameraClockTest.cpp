// SPDX-License-Identifier: MIT
#include "utilities/CameraClock.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "link/VendorProtocol.h"
#include "support/CalendarTime.h"
#include "support/CaseName.h"

namespace trelvik::utilities {
namespace {

using testing::calendarTime;

// The six clock bytes the camera holds, and what the tool makes of them after the round trip
// decode -> fields -> encode that a read and a later write of the same clock make.
struct ClockCase {
    const char* name;
    std::array<std::uint8_t, 6> bytes; // year-2000, month, day, hour, minute, second
    bool valid;
    const char* text; // formatDateTime of the decoded fields
};

class ClockRoundTripTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockRoundTripTest, BytesComeBackUnchanged) {
    const ClockCase& c = GetParam();
    std::array<std::uint8_t, 8> block{'Q', 'Z'};
    std::copy(c.bytes.begin(), c.bytes.end(), block.begin() + 2);
    std::tm time{};
    ASSERT_TRUE(link::decodeCameraClock(block, time));
    EXPECT_EQ(isValidDateTime(time), c.valid);
    EXPECT_EQ(formatDateTime(time), c.text);
    // An invalid clock is shown by these bytes, so they must be the camera's own.
    EXPECT_EQ(link::encodeCameraClock(time), block);
    if (c.valid && time.tm_year >= kFirstClockYear - 1900) {
        const std::optional<std::tm> parsed = parseDateTime(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(link::encodeCameraClock(*parsed), block);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, ClockRoundTripTest,
    ::testing::Values(ClockCase{"plain", {24, 5, 17, 8, 30, 0}, true, "2024-05-17T08:30:00"},
                      ClockCase{"leapDay", {24, 2, 29, 0, 0, 0}, true, "2024-02-29T00:00:00"},
                      ClockCase{"lastYear", {127, 12, 31, 23, 59, 59}, true, "2127-12-31T23:59:59"},
                      ClockCase{"signedYearByte", {0xFF, 12, 31, 23, 59, 59}, true, "1999-12-31T23:59:59"},
                      ClockCase{"noLeapDay", {23, 2, 29, 0, 0, 0}, false, "2023-02-29T00:00:00"},
                      ClockCase{"century", {100, 2, 29, 0, 0, 0}, false, "2100-02-29T00:00:00"},
                      ClockCase{"monthThirteen", {24, 13, 40, 25, 61, 99}, false, "2024-13-40T25:61:99"},
                      ClockCase{"monthZero", {24, 0, 1, 0, 0, 0}, false, "2024-00-01T00:00:00"},
                      ClockCase{"dayZero", {24, 4, 0, 0, 0, 0}, false, "2024-04-00T00:00:00"},
                      ClockCase{"leapSecond", {24, 6, 30, 23, 59, 60}, false, "2024-06-30T23:59:60"}),
    testing::namedCases());

struct ParseCase {
    const char* text;
    bool accepted;
};

class ParseDateTimeTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDateTimeTest, OnlyWholeValidDatesInTheCamerasYears) {
    EXPECT_EQ(parseDateTime(GetParam().text).has_value(), GetParam().accepted) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDateTimeTest,
    ::testing::Values(ParseCase{"2000-01-01T00:00:00", true}, ParseCase{"2127-12-31T23:59:59", true},
                      ParseCase{"1999-12-31T23:59:59", false}, ParseCase{"2128-01-01T00:00:00", false},
                      ParseCase{"2000-02-29T12:00:00", true}, ParseCase{"2024-04-31T12:00:00", false},
                      ParseCase{"2024-05-17 08:30:00", false}, ParseCase{"2024-05-17T08:30:0", false},
                      ParseCase{"2024-05-17T08:30:001", false}, ParseCase{"2024-O5-17T08:30:00", false}),
    testing::caseNames(&ParseCase::text));

TEST(ParseDateTime, FillsTheFields) {
    const auto parsed = parseDateTime("2031-12-31T23:59:58");
    ASSERT_TRUE(parsed.has_value());
    const std::tm expected = calendarTime(2031, 12, 31, 23, 59, 58);
    EXPECT_EQ(link::encodeCameraClock(*parsed), link::encodeCameraClock(expected));
    EXPECT_EQ(parsed->tm_isdst, -1); // local time, its daylight saving left to the library
}

} // namespace
} // namespace trelvik::utilities
