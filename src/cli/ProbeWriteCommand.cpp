// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "probe-write CODE VALUE [--simulate[=STATE.json]]";

int runProbeWrite(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 2, kSynopsis, err)) return kExitUsage;
    const auto code = parseByteArgument("probe-write", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    const auto value = parseByteArgument("probe-write", "VALUE", invocation.positional[1], err);
    if (!value) return kExitUsage;
    CameraSession session;
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().probeWrite(*code, *value); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const Registrar kRegistrar{
    {"probe-write", kSynopsis,
     std::string("Writes one register on the first drive that echoes it, without connecting\n"
                 "by USB identity.\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runProbeWrite}};

} // namespace

} // namespace trelvik::cli
