// SPDX-License-Identifier: MIT
#include "cli/CameraSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

#include "platform/Native.h"
#include "platform/NativeDiskSystem.h"
#include "sim/SimulatedCamera.h"

namespace trelvik::cli {

namespace {
// Every caller of FindCameraDisk leaves room for this many drives.
constexpr int kMaxCameraDrives = 8;
} // namespace

const char* const kCameraOptionsHelp =
    "  --simulate[=STATE.json]  talk to the simulated camera (kept in STATE.json when given)\n"
    "  --ids-from=FILE          take the camera's USB ids from [APP] of this command file\n"
    "  --debug                  write the link's diagnostic lines to stderr\n"
    "Exit codes: 0 ok, 1 usage or input, 2 camera failed or reply rejected,\n"
    "3 register not supported, 4 no camera found.";

std::vector<OptionSpec> cameraOptions(std::vector<OptionSpec> extra) {
    std::vector<OptionSpec> options{{"simulate", OptionValue::Optional},
                                    {"ids-from", OptionValue::Required},
                                    {"debug", OptionValue::None}};
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

CameraSession::CameraSession() = default;

CameraSession::~CameraSession() {
    // The disk goes before the system that made it; the sink is restored last.
    m_disk.reset();
    m_system.reset();
    if (m_debugSink) debuglog::setDebugSink(m_previousSink);
}

int CameraSession::start(const Invocation& invocation, std::ostream& err) {
    if (invocation.has("debug")) {
        m_debugSink = platform::makeNativeDebugSink();
        m_previousSink = debuglog::setDebugSink(m_debugSink.get());
    }
    if (const auto idsFile = invocation.value("ids-from")) {
        const auto system = platform::makeNativeSystemInfo();
        if (!system->fileExists(*idsFile)) {
            err << "trelvik-cli: " << *idsFile << " does not exist\n";
            return kExitUsage;
        }
        m_ids = link::LoadCameraIds(*platform::makeNativeProfileReader(), *idsFile);
    }
    if (invocation.has("simulate")) {
        std::string error;
        m_system = sim::makeSimulatedDiskSystem(invocation.value("simulate"), error);
        if (!m_system) {
            err << "trelvik-cli: " << error << "\n";
            return kExitUsage;
        }
    } else {
        m_system = platform::makeNativeDiskSystem(m_ids);
    }
    return kExitOk;
}

std::vector<platform::DriveEntry> CameraSession::cameraDrives() {
    std::vector<platform::DriveEntry> found;
    link::FindCameraDisk(*m_system, m_ids.vendor, m_ids.diskProduct, &found);
    if (found.size() > static_cast<std::size_t>(kMaxCameraDrives)) found.resize(kMaxCameraDrives);
    return found;
}

int CameraSession::openCamera(std::ostream& err) {
    const auto drives = cameraDrives();
    if (drives.empty()) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "%04X:%04X", m_ids.vendor, m_ids.diskProduct);
        err << "trelvik-cli: no camera found (USB " << ids << ")\n";
        return kExitNoCamera;
    }
    int errorCode = 0;
    m_disk = m_system->open(drives.front().openPath, errorCode);
    if (!m_disk) {
        err << "trelvik-cli: cannot open " << drives.front().openPath << ": error " << errorCode << " ("
            << std::strerror(errorCode) << ")\n";
        if (errorCode == EACCES || errorCode == EPERM)
            err << "The camera's device node is not writable for this user: install the udev rule "
                   "70-trelvik.rules and plug the camera in again.\n";
        return kExitCameraFailed;
    }
    return kExitOk;
}

int CameraSession::connect(const Invocation& invocation, std::ostream& err) {
    if (const int rc = start(invocation, err); rc != kExitOk) return rc;
    return openCamera(err);
}

bool expectArguments(const Invocation& invocation, std::size_t count, const std::string& synopsis,
                     std::ostream& err) {
    if (invocation.positional.size() == count) return true;
    err << "usage: trelvik-cli " << synopsis << "\n";
    return false;
}

std::optional<std::uint8_t> parseByteArgument(const std::string& command, const std::string& what,
                                              const std::string& text, std::ostream& err) {
    const auto value = parseNumber(text, 0xFF);
    if (!value) {
        err << "trelvik-cli " << command << ": " << what << " must be 0-255 (0x.. or decimal), not '" << text
            << "'\n";
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

std::string hexByte(std::uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

int registerStatusExit(link::Status status, const std::string& action, std::uint8_t code, std::ostream& err) {
    if (status == link::Status::Ok) return kExitOk;
    if (status == link::Status::NotSupported) {
        err << "trelvik-cli: the camera does not support register " << hexByte(code) << "\n";
        return kExitNotSupported;
    }
    err << "trelvik-cli: register " << hexByte(code) << " " << action << " failed\n";
    return kExitCameraFailed;
}

} // namespace trelvik::cli
