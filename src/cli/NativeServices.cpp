// SPDX-License-Identifier: MIT
#include "cli/NativeServices.h"

#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"

namespace trelvik::cli {

NativeServices::NativeServices() = default;
NativeServices::~NativeServices() = default;

const platform::ProfileReader& NativeServices::profiles() {
    if (!m_profiles) m_profiles = platform::makeNativeProfileReader();
    return *m_profiles;
}

const platform::TextCodec& NativeServices::codec() {
    if (!m_codec) m_codec = platform::makeNativeTextCodec();
    return *m_codec;
}

const platform::SystemInfo& NativeServices::system() {
    if (!m_system) m_system = platform::makeNativeSystemInfo();
    return *m_system;
}

platform::DebugSink& NativeServices::debugSink() {
    if (!m_debugSink) m_debugSink = platform::makeNativeDebugSink();
    return *m_debugSink;
}

std::unique_ptr<platform::DiskSystem> NativeServices::disks(const platform::CameraIds& camera) {
    return platform::makeNativeDiskSystem(camera);
}

} // namespace trelvik::cli
