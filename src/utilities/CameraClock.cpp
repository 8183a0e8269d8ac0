// SPDX-License-Identifier: MIT
#include "utilities/CameraClock.h"

#include <cctype>
#include <cstdio>

namespace trelvik::utilities {

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool isValidDateTime(const std::tm& time) {
    if (time.tm_mon < 0 || time.tm_mon > 11) return false;
    const int year = time.tm_year + 1900;
    return time.tm_mday >= 1 && time.tm_mday <= daysInMonth(year, time.tm_mon + 1) && time.tm_hour >= 0 &&
           time.tm_hour <= 23 && time.tm_min >= 0 && time.tm_min <= 59 && time.tm_sec >= 0 &&
           time.tm_sec <= 59;
}

std::string formatDateTime(const std::tm& time) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", time.tm_year + 1900, time.tm_mon + 1,
                  time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

std::optional<std::tm> parseDateTime(const std::string& text) {
    static constexpr char kPattern[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kPattern - 1) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i]) return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    std::tm time{};
    const int year = number(0, 4);
    time.tm_year = year - 1900;
    time.tm_mon = number(5, 2) - 1;
    time.tm_mday = number(8, 2);
    time.tm_hour = number(11, 2);
    time.tm_min = number(14, 2);
    time.tm_sec = number(17, 2);
    time.tm_isdst = -1;
    if (year < kFirstClockYear || year > kLastClockYear || !isValidDateTime(time)) return std::nullopt;
    return time;
}

} // namespace trelvik::utilities
