// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "read CODE [--simulate[=STATE.json]]";

int runRead(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kSynopsis, err)) return kExitUsage;
    const auto code = parseByteArgument("read", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    const auto value = session.camera().readRegister(*code);
    if (!value) return reportError(value.error(), err);
    out << hexByte(*value) << "\n";
    return kExitOk;
}

const Registrar kRegistrar{
    {"read", kSynopsis,
     std::string("Reads one register of the connected camera and prints its value as 0xHH.\n"
                 "CODE is 0x.. hexadecimal or decimal, 0-255.\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runRead}};

} // namespace

} // namespace trelvik::cli
