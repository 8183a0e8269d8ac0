// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace trelvik::utilities {

// The camera has no reset command of its own: this value written into this register returns
// every setting to its factory default.
inline constexpr std::uint8_t kResetCode = 0x00;
inline constexpr std::uint8_t kResetValue = 0xFF;

} // namespace trelvik::utilities
