// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <optional>
#include <string>

// The camera clock as people read and write it: "YYYY-MM-DDTHH:MM:SS", local time, and the
// calendar rules that decide whether six clock fields are a date at all.
namespace trelvik::utilities {

// The years the camera's signed year byte (year - 2000) carries both ways.
inline constexpr int kFirstClockYear = 2000;
inline constexpr int kLastClockYear = 2127;

// Days in `month` (1-12) of `year`, Gregorian. Example: daysInMonth(2024, 2) -> 29.
int daysInMonth(int year, int month);

// True when the six fields of `time` name a real calendar date and time of day (no leap second).
// Example: 2024-02-30 -> false.
bool isValidDateTime(const std::tm& time);

// "2024-05-17T08:30:00" for the six fields of `time`.
std::string formatDateTime(const std::tm& time);

// Reads exactly "YYYY-MM-DDTHH:MM:SS" naming a valid date with a year from kFirstClockYear to
// kLastClockYear; nullopt otherwise.
std::optional<std::tm> parseDateTime(const std::string& text);

} // namespace trelvik::utilities
