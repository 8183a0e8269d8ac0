// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "reset --yes [--simulate[=STATE.json]]";

int runReset(CameraSession& session, const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!resetConfirmed("reset", "this", invocation, err)) return kExitUsage;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto reset = session.camera().reset(); !reset) return reportError(reset.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "reset",
     .synopsis = kSynopsis,
     .help = "Resets all camera settings to factory defaults (0xFF into register 0x00).\n"
             "Without --yes nothing is sent.\n",
     .options = {{"yes", OptionValue::None}},
     .opening = Opening::ByCommand,
     .run = &runReset}};

} // namespace

} // namespace trelvik::cli
