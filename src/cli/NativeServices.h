// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/CameraIds.h"
#include "platform/DebugSink.h"
#include "platform/DiskSystem.h"
#include "platform/ProfileReader.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

namespace trelvik::cli {

// The operating system's objects the commands work with, made by main once and handed to every
// command. Each is made when first asked for: a camera command never loads what reading a
// command file needs, and the CLI's start stays as cheap as the command allows.
class NativeServices {
public:
    NativeServices();
    ~NativeServices();
    NativeServices(const NativeServices&) = delete;
    NativeServices& operator=(const NativeServices&) = delete;

    const platform::ProfileReader& profiles();
    const platform::TextCodec& codec();
    const platform::SystemInfo& system();
    platform::DebugSink& debugSink();
    // A drive catalog of its own for each caller: a command's catalog snapshot owns it.
    std::unique_ptr<platform::DiskSystem> disks(const platform::CameraIds& camera);

private:
    std::unique_ptr<platform::ProfileReader> m_profiles;
    std::unique_ptr<platform::TextCodec> m_codec;
    std::unique_ptr<platform::SystemInfo> m_system;
    std::unique_ptr<platform::DebugSink> m_debugSink;
};

} // namespace trelvik::cli
