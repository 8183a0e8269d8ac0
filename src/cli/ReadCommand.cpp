// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "read CODE [--simulate[=STATE.json]]";

int runRead(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kSynopsis, err)) return kExitUsage;
    const auto code = parseByteArgument("read", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    std::uint8_t value = 0;
    const link::Status status = link::ReadRegister(session.disk(), *code, value);
    if (status == link::Status::Ok) out << hexByte(value) << "\n";
    return registerStatusExit(status, "read", *code, err);
}

const Registrar kRegistrar{{"read", kSynopsis,
                            std::string("Reads one register of the connected camera and prints its value as 0xHH.\n"
                                        "CODE is 0x.. hexadecimal or decimal, 0-255.\n") +
                                kCameraOptionsHelp,
                            cameraOptions(), &runRead}};

} // namespace

} // namespace trelvik::cli
