// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "utilities/ClockText.h"

namespace trelvik::utilities {
namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900, time.tm_mon = month - 1, time.tm_mday = day;
    time.tm_hour = hour, time.tm_min = minute, time.tm_sec = second;
    return time;
}

TEST(FormatClockText, SixFormatsInTheLocalesSeparators) {
    ClockLocale slash;
    slash.longTime = [](int h, int m, int s) {
        return std::to_string(h % 12 ? h % 12 : 12) + ":" + std::to_string(m) + ":" + std::to_string(s) +
               (h < 12 ? " AM" : " PM");
    };
    ClockLocale dots{".", "-", slash.longTime};
    const std::tm time = at(2019, 3, 5, 14, 7, 9);
    const struct {
        int dateIndex, timeIndex;
        const ClockLocale& locale;
        const char* text;
    } cases[] = {
        {0, 0, slash, "05/03/2019 14:07:09"},  {1, 0, slash, "2019/03/05 14:07:09"},
        {2, 0, slash, "03/05/2019 14:07:09"},  {0, 1, slash, "05/03/2019 2:7:9 PM"},
        {1, 1, slash, "2019/03/05 2:7:9 PM"},  {2, 1, slash, "03/05/2019 2:7:9 PM"},
        {-1, 0, slash, "05/03/2019 14:07:09"}, // nothing selected reads as day first
        {7, 3, slash, "05/03/2019 2:7:9 PM"},  {2, 0, dots, "03.05.2019 14-07-09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatClockText(time, c.dateIndex, c.timeIndex, c.locale), c.text)
            << c.dateIndex << c.timeIndex;
}

TEST(FormatClockText, AClockThatIsNoDateShowsItsFieldsMarkedInvalid) {
    const ClockLocale locale;
    EXPECT_EQ(FormatClockText(at(2019, 0, 5, 14, 7, 9), 0, 0, locale), "Invalid: 2019-00-05 14:07:09");
    EXPECT_EQ(FormatClockText(at(2019, 2, 29, 25, 7, 9), 1, 1, locale), "Invalid: 2019-02-29 25:07:09");
    EXPECT_EQ(FormatClockText(at(2019, 2, 3, 4, 5, 60), 0, 0, locale), "Invalid: 2019-02-03 04:05:60");
}

TEST(FormatClockText, ALongLocaleTimeIsCutWithinACharacter) {
    ClockLocale wordy;
    wordy.longTime = [](int, int, int) { return std::string(66, 'x') + "\xE4\xB8\x8B\xE5\x8D\x88"; };
    const std::string text = FormatClockText(at(2019, 3, 5, 14, 7, 9), 0, 1, wordy);
    // The date and 66 letters fill 77 bytes; the next character would end past byte 79.
    EXPECT_EQ(text.size(), 77u);
    EXPECT_EQ(text.substr(0, 11), "05/03/2019 ");
}

TEST(PickerFormats, FollowTheFormatIndices) {
    EXPECT_EQ(DatePickerFormat(0), "dd/MM/yyyy");
    EXPECT_EQ(DatePickerFormat(1), "yyyy/MM/dd");
    EXPECT_EQ(DatePickerFormat(2), "MM/dd/yyyy");
    EXPECT_EQ(DatePickerFormat(-1), "dd/MM/yyyy");
    EXPECT_EQ(TimePickerFormat(0), "HH:mm:ss");
    EXPECT_EQ(TimePickerFormat(1), "tt hh:mm:ss");
}

} // namespace
} // namespace trelvik::utilities
