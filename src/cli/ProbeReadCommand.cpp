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

    // The probe stores the value only when the reply echoes the code, and succeeds either way.
    // Starting from 0x00 a changed value is certainly the camera's; a value still 0x00 is
    // checked once more from 0xFF, so an answer without echo ("NS") is not shown as 0x00.
    std::uint8_t value = 0x00;
    std::string drive;
    int disk = -1;
    if (link::ScanAndReadRegister(session.diskSystem(), *code, &value, &drive, &disk) != 1) {
        err << "trelvik-cli: no drive answered as the camera\n";
        return kExitNoCamera;
    }
    if (value == 0x00) {
        std::uint8_t check = 0xFF;
        if (link::ScanAndReadRegister(session.diskSystem(), *code, &check, &drive, &disk) != 1) {
            err << "trelvik-cli: the camera stopped answering\n";
            return kExitCameraFailed;
        }
        if (check == 0xFF) {
            err << "trelvik-cli: the camera on " << drive << " answered without register " << hexByte(*code)
                << " (not supported)\n";
            return kExitNotSupported;
        }
        value = check;
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
