// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

int runPcCam(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 0, "pccam", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto changed = session.camera().changeToPcCam(); !changed)
        return reportError(changed.error(), err);
    return kExitOk;
}

const Registrar kRegistrar{
    {"pccam", "pccam [--simulate[=STATE.json]]",
     std::string("Switches the camera into PC-camera (webcam) mode; its disk goes away.\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runPcCam}};

} // namespace

} // namespace trelvik::cli
