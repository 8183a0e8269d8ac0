// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>

// How the window writes the PC's and the camera's clocks, in the user's locale.
namespace trelvik::utilities {

// What the clock texts take from the user's locale.
struct ClockLocale {
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    // The time of day in the locale's long time format. Example: (14, 7, 9) -> "2:07:09 PM".
    std::function<std::string(int hour, int minute, int second)> longTime;
};

// The longest clock text, in bytes.
inline constexpr std::size_t kMaxClockTextLength = 79;

// A clock as the date format (0 day first, 1 year first, 2 month first; others as 0) and the
// time format (0 the 24-hour clock, others the locale's long time) write it, with the locale's
// separators. A time that is no date shows its fields marked invalid instead.
// Examples: 2019-03-05 14:07:09, (0, 0) -> "05/03/2019 14:07:09"; (1, 1) -> "2019/03/05 2:07:09 PM";
// month 0 -> "Invalid: 2019-00-05 14:07:09".
std::string FormatClockText(const std::tm& time, int dateFormatIndex, int timeFormatIndex,
                            const ClockLocale& locale);

// The date picker's picture for a date format. Example: 1 -> "yyyy/MM/dd".
std::string_view DatePickerFormat(int dateFormatIndex);
// The time picker's picture for a time format: "HH:mm:ss" for 0, else "tt hh:mm:ss".
std::string_view TimePickerFormat(int timeFormatIndex);

} // namespace trelvik::utilities
