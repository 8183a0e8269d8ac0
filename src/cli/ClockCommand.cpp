// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/VendorProtocol.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {

int runClock(CameraSession& session, const Invocation& /*invocation*/, std::ostream& out, std::ostream& err) {
    const auto time = session.camera().readClock();
    if (!time) return reportError(time.error(), err);
    if (!utilities::isValidDateTime(*time)) {
        // The fields came from the camera's bytes; encoding them again gives those bytes back.
        const auto block = link::encodeCameraClock(*time);
        err << "trelvik-cli: the camera clock is not a valid date; bytes:";
        for (std::size_t i = 2; i < block.size(); ++i)
            err << " " << hexByte(block[i]);
        err << " (year-2000, month, day, hour, minute, second)\n";
        return kExitCameraFailed;
    }
    out << utilities::formatDateTime(*time) << "\n";
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "clock",
     .synopsis = "clock [--simulate[=STATE.json]]",
     .help = "Reads the camera clock and prints it as YYYY-MM-DDTHH:MM:SS. A clock that\n"
             "is no valid date shows its raw bytes on stderr and exits 2.\n",
     .run = &runClock}};

} // namespace

} // namespace trelvik::cli
