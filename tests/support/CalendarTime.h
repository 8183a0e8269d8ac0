// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

namespace trelvik::testing {

// A broken-down time from calendar values, as a person writes them.
// Example: calendarTime(2099, 12, 31, 23, 59, 59) -> tm_year 199, tm_mon 11, tm_mday 31 ...
inline std::tm calendarTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    return fields;
}

} // namespace trelvik::testing
