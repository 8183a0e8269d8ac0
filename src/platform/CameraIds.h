// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace trelvik::platform {

// The camera's USB identity: one vendor id and two product ids, one per personality. The
// system's disk catalog and device news need it as much as the camera link does.
struct CameraIds {
    std::uint16_t vendor;         // Example: 0x2E7A
    std::uint16_t diskProduct;    // the camera as a mass-storage disk. Example: 0x0101
    std::uint16_t captureProduct; // the camera as a video-capture device. Example: 0x0102
};

// Our camera's ids. The one place they are written down; the udev rule in data/udev repeats them.
inline constexpr CameraIds kDefaultCameraIds{0x2E7A, 0x0101, 0x0102};

} // namespace trelvik::platform
