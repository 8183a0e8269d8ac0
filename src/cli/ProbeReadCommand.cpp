// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "probe-read CODE [--simulate[=STATE.json]]";

int runProbeRead(CameraSession& session, const Invocation& invocation, std::ostream& out, std::ostream& err) {
    const auto code = parseByteArgument("probe-read", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;

    const auto answer = session.camera().probeRead(*code);
    if (!answer) return reportError(answer.error(), err);
    out << hexByte(answer->value) << "\n";
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "probe-read",
     .synopsis = kSynopsis,
     .help = "Reads one register from the first drive that answers the vendor command,\n"
             "without connecting by USB identity, and prints 0xHH.\n",
     .arguments = 1,
     .opening = Opening::ByCommand,
     .run = &runProbeRead}};

} // namespace

} // namespace trelvik::cli
