// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "probe-write CODE VALUE [--yes] [--simulate[=STATE.json]]";

int runProbeWrite(CameraSession& session, const Invocation& invocation, std::ostream& /*out*/,
                  std::ostream& err) {
    const auto code = parseByteArgument("probe-write", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    const auto value = parseByteArgument("probe-write", "VALUE", invocation.positional[1], err);
    if (!value) return kExitUsage;
    if (link::isFactoryReset(*code, *value) &&
        !resetConfirmed("probe-write", "0xFF into register 0x00", invocation, err))
        return kExitUsage;
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().probeWrite(*code, *value); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "probe-write",
     .synopsis = kSynopsis,
     .help = "Writes one register on the first drive that echoes it, without connecting\n"
             "by USB identity. CODE and VALUE are 0x.. or decimal, 0-255; 0xFF into\n"
             "register 0x00 resets the camera and needs --yes, as 'reset' does.\n",
     .options = {{"yes", OptionValue::None}},
     .arguments = 2,
     .opening = Opening::ByCommand,
     .run = &runProbeWrite}};

} // namespace

} // namespace trelvik::cli
