// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/Discovery.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "probe-read CODE [--simulate[=STATE.json]]";

int runProbeRead(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kSynopsis, err)) return kExitUsage;
    const auto code = parseByteArgument("probe-read", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    CameraSession session;
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;

    std::uint8_t value = 0;
    std::string drive;
    int disk = -1;
    link::ProbeEcho echo = link::ProbeEcho::WrongCode;
    if (link::ScanAndReadRegister(session.diskSystem(), *code, &value, &drive, &disk, &echo) != link::Status::Ok) {
        err << "trelvik-cli: no drive answered as the camera\n";
        return kExitNoCamera;
    }
    if (echo == link::ProbeEcho::NotSupported) {
        err << "trelvik-cli: the camera on " << drive << " does not support register " << hexByte(*code) << "\n";
        return kExitNotSupported;
    }
    if (echo == link::ProbeEcho::WrongCode) {
        err << "trelvik-cli: the camera on " << drive << " answered for another register than " << hexByte(*code)
            << "\n";
        return kExitCameraFailed;
    }
    out << hexByte(value) << "\n";
    return kExitOk;
}

const Registrar kRegistrar{{"probe-read", kSynopsis,
                            std::string("Reads one register from the first drive that answers the vendor command,\n"
                                        "without connecting by USB identity, and prints 0xHH.\n") +
                                kCameraOptionsHelp,
                            cameraOptions(), &runProbeRead}};

} // namespace

} // namespace trelvik::cli
