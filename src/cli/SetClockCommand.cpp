// SPDX-License-Identifier: MIT
#include <ctime>
#include <ostream>

#include "cli/CameraSession.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis =
    "set-clock now|YYYY-MM-DDTHH:MM:SS [--all] [--device NAME] [--simulate[=STATE.json]]";

int runSetClock(CameraSession& session, const Invocation& invocation, std::ostream& /*out*/,
                std::ostream& err) {
    const auto when = clockArgument("set-clock", invocation.positional[0], err);
    if (!when) return kExitUsage;
    const std::tm time = *when;
    if (invocation.has("all")) {
        if (const int rc = session.startAll(invocation, err); rc != kExitOk) return rc;
        return forEachCamera(session, err,
                             [&](link::CameraConnection& camera, const std::string&,
                                 const link::ConnectionError* openError, std::ostream& lines) -> int {
                                 if (openError) return kExitOk; // reported already
                                 const auto written = camera.writeClock(time);
                                 return written ? kExitOk : reportError(written.error(), lines);
                             });
    }
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().writeClock(time); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "set-clock",
     .synopsis = kSynopsis,
     .help = std::string("Sets the camera clock to this computer's local time ('now') or to the\n"
                         "given local date and time. An invalid date sends nothing and exits 1.\n"
                         "  --all                    every camera connected\n") +
             kAllCamerasHelp,
     .options = allCamerasOptions(),
     .arguments = 1,
     .opening = Opening::ByCommand,
     .run = &runSetClock}};

} // namespace

} // namespace trelvik::cli
