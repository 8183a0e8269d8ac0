// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "reset --yes [--simulate[=STATE.json]]";
// The camera's reset command: this value written into this register.
constexpr std::uint8_t kResetCode = 0x00;
constexpr std::uint8_t kResetValue = 0xFF;

int runReset(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 0, kSynopsis, err)) return kExitUsage;
    if (!invocation.has("yes")) {
        err << "trelvik-cli reset: this returns every setting to its factory default; add --yes to do it\n";
        return kExitUsage;
    }
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    return registerStatusExit(link::WriteRegister(session.disk(), kResetCode, kResetValue), "reset", kResetCode,
                              err);
}

const Registrar kRegistrar{{"reset", kSynopsis,
                            std::string("Resets all camera settings to factory defaults (0xFF into register 0x00).\n"
                                        "Without --yes nothing is sent.\n") +
                                kCameraOptionsHelp,
                            cameraOptions({{"yes", OptionValue::None}}), &runReset}};

} // namespace

} // namespace trelvik::cli
