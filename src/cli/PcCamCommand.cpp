// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

int runPcCam(CameraSession& session, const Invocation& /*invocation*/, std::ostream& /*out*/,
             std::ostream& err) {
    if (const auto changed = session.camera().changeToPcCam(); !changed)
        return reportError(changed.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "pccam",
     .synopsis = "pccam [--simulate[=STATE.json]]",
     .help = "Switches the camera into PC-camera (webcam) mode; its disk goes away.\n",
     .run = &runPcCam}};

} // namespace

} // namespace trelvik::cli
