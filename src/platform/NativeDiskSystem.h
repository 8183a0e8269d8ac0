// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/CameraIds.h"
#include "platform/DiskSystem.h"

namespace trelvik::platform {

// The native drive catalog for a camera whose ids the command file may have changed. Linux
// needs them to count the camera's disk as removable even when the disk says otherwise;
// Windows goes by the drive type alone and ignores them. makeNativeDiskSystem() in Native.h is
// this with kDefaultCameraIds.
std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem(const CameraIds& camera);

} // namespace trelvik::platform
