// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/ClockText.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

int runClock(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 0, "clock", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    std::tm time{};
    if (link::ReadCameraClock(session.disk(), time) != link::Status::Ok) {
        err << "trelvik-cli: reading the camera clock failed\n";
        return kExitCameraFailed;
    }
    if (!isValidDateTime(time)) {
        // Each field came from one byte read as signed: cutting it back to 8 bits gives the byte.
        const int bytes[] = {time.tm_year - 100, time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec};
        err << "trelvik-cli: the camera clock is not a valid date; bytes:";
        for (int b : bytes) err << " " << hexByte(static_cast<std::uint8_t>(b));
        err << " (year-2000, month, day, hour, minute, second)\n";
        return kExitCameraFailed;
    }
    out << formatDateTime(time) << "\n";
    return kExitOk;
}

const Registrar kRegistrar{{"clock", "clock [--simulate[=STATE.json]]",
                            std::string("Reads the camera clock and prints it as YYYY-MM-DDTHH:MM:SS. A clock that\n"
                                        "is no valid date shows its raw bytes on stderr and exits 2.\n") +
                                kCameraOptionsHelp,
                            cameraOptions(), &runClock}};

} // namespace

} // namespace trelvik::cli
