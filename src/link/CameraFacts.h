// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// What every front end must know of the camera beyond its command set. Written down once here;
// the simulated camera keeps its own copies on purpose, as the independent model it is.
namespace trelvik::link {

// Register 0x00 is the debug setting, and takes the factory reset: the camera has no reset
// command of its own, this value written into it returns every setting to its default.
inline constexpr std::uint8_t kDebugRegister = 0x00;
inline constexpr std::uint8_t kFactoryResetValue = 0xFF;

// The flash-save bracket around writing many settings: hold back from flash while they are
// written, then keep them.
inline constexpr std::uint8_t kFlashSaveHold = 0;
inline constexpr std::uint8_t kFlashSaveKeep = 1;

// The camera's drives in the catalog's order are cut to this many, as the tool has always done.
inline constexpr std::size_t kMaxCameraDrives = 8;

// True when writing `value` into register `code` resets the camera to its factory defaults.
constexpr bool isFactoryReset(int code, int value) {
    return code == kDebugRegister && value == kFactoryResetValue;
}

} // namespace trelvik::link
