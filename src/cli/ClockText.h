// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>
#include <optional>
#include <string>

// Date and time as the clock commands print and accept them: "YYYY-MM-DDTHH:MM:SS", local time.
namespace trelvik::cli {

// True when the six fields of `time` name a real calendar date and time of day (no leap second).
// Example: 2024-02-30 -> false.
bool isValidDateTime(const std::tm& time);

// "2024-05-17T08:30:00" for the six fields of `time`.
std::string formatDateTime(const std::tm& time);

// Reads exactly "YYYY-MM-DDTHH:MM:SS" naming a valid date with a year from 2000 to 2127 (the
// years the camera's year byte carries both ways); nullopt otherwise.
std::optional<std::tm> parseDateTime(const std::string& text);

} // namespace trelvik::cli
