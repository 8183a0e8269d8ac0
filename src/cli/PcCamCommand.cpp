// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

int runPcCam(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 0, "pccam", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (link::ChangeToPcCam(session.disk()) == link::Status::Ok) return kExitOk;
    err << "trelvik-cli: the camera did not acknowledge the change to PC-camera mode\n";
    return kExitCameraFailed;
}

const Registrar kRegistrar{{"pccam", "pccam [--simulate[=STATE.json]]",
                            std::string("Switches the camera into PC-camera (webcam) mode; its disk goes away.\n") +
                                kCameraOptionsHelp,
                            cameraOptions(), &runPcCam}};

} // namespace

} // namespace trelvik::cli
