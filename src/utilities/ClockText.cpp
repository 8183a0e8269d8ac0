// SPDX-License-Identifier: MIT
#include "utilities/ClockText.h"

#include <cstdio>

#include "text/Unicode.h"
#include "utilities/CameraClock.h"

namespace trelvik::utilities {

namespace {

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// Cuts to the longest text the clock fields take, never inside a character.
std::string cutClockText(const std::string& text) {
    return std::string(text::cutUtf8(text, kMaxClockTextLength));
}

} // namespace

std::string FormatClockText(const std::tm& time, int dateFormatIndex, int timeFormatIndex,
                            const ClockLocale& locale) {
    const int year = time.tm_year + 1900, month = time.tm_mon + 1;
    if (!isValidDateTime(time)) {
        char text[96];
        std::snprintf(text, sizeof text, "Invalid: %04d-%02d-%02d %02d:%02d:%02d", year, month, time.tm_mday,
                      time.tm_hour, time.tm_min, time.tm_sec);
        return text;
    }
    const std::string& d = locale.dateSeparator;
    const std::string day = twoDigits(time.tm_mday), mon = twoDigits(month);
    char yearText[16];
    std::snprintf(yearText, sizeof yearText, "%04d", year);
    std::string date;
    switch (dateFormatIndex) {
    case 1:
        date = yearText + d + mon + d + day;
        break;
    case 2:
        date = mon + d + day + d + yearText;
        break;
    default:
        date = day + d + mon + d + yearText;
        break;
    }
    const std::string& t = locale.timeSeparator;
    const std::string timeOfDay =
        timeFormatIndex == 0 || !locale.longTime
            ? twoDigits(time.tm_hour) + t + twoDigits(time.tm_min) + t + twoDigits(time.tm_sec)
            : locale.longTime(time.tm_hour, time.tm_min, time.tm_sec);
    return cutClockText(date + " " + timeOfDay);
}

std::string_view DatePickerFormat(int dateFormatIndex) {
    switch (dateFormatIndex) {
    case 1:
        return "yyyy/MM/dd";
    case 2:
        return "MM/dd/yyyy";
    default:
        return "dd/MM/yyyy";
    }
}

std::string_view TimePickerFormat(int timeFormatIndex) {
    return timeFormatIndex == 0 ? "HH:mm:ss" : "tt hh:mm:ss";
}

} // namespace trelvik::utilities
