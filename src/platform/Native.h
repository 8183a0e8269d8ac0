// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/DebugSink.h"
#include "platform/DeviceWatch.h"
#include "platform/DiskSystem.h"
#include "platform/ProfileReader.h"
#include "platform/ProgramWindows.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

// Factories of the native platform layer. Exactly one implementation of each is linked:
// platform/linux/ or platform/windows/, chosen by the build.
namespace trelvik::platform {

std::unique_ptr<ProfileReader> makeNativeProfileReader();
std::unique_ptr<TextCodec> makeNativeTextCodec();
std::unique_ptr<SystemInfo> makeNativeSystemInfo();
std::unique_ptr<platform::DebugSink> makeNativeDebugSink();
std::unique_ptr<platform::DiskSystem> makeNativeDiskSystem();
// The system's device news. Linux: a udev monitor with a descriptor. Windows: none; the window's
// WM_DEVICECHANGE messages are handed to it (DeviceWatch::takeNativeMessage).
std::unique_ptr<platform::DeviceWatch> makeNativeDeviceWatch();
std::unique_ptr<ProgramWindows> makeNativeProgramWindows();

} // namespace trelvik::platform
