// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "reset --yes [--simulate[=STATE.json]]";

int runReset(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 0, kSynopsis, err)) return kExitUsage;
    if (!resetConfirmed("reset", "this", invocation, err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto reset = session.camera().reset(); !reset) return reportError(reset.error(), err);
    return kExitOk;
}

const Registrar kRegistrar{
    {"reset", kSynopsis,
     std::string("Resets all camera settings to factory defaults (0xFF into register 0x00).\n"
                 "Without --yes nothing is sent.\n") +
         kCameraOptionsHelp,
     cameraOptions({{"yes", OptionValue::None}}), &runReset}};

} // namespace

} // namespace trelvik::cli
