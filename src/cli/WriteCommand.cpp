// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "write CODE VALUE [--simulate[=STATE.json]]";

int runWrite(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 2, kSynopsis, err)) return kExitUsage;
    const auto code = parseByteArgument("write", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    const auto value = parseByteArgument("write", "VALUE", invocation.positional[1], err);
    if (!value) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().writeRegister(*code, *value); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const Registrar kRegistrar{
    {"write", kSynopsis,
     std::string("Writes one register of the connected camera; succeeds when the camera\n"
                 "echoes code and value. CODE and VALUE are 0x.. or decimal, 0-255.\n"
                 "(0xFF into register 0x00 resets the camera: see 'reset'.)\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runWrite}};

} // namespace

} // namespace trelvik::cli
