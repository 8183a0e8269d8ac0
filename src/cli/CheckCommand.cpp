// SPDX-License-Identifier: MIT
// check: a profile read against the command file, without a camera.
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/ProfileSupport.h"

namespace trelvik::cli {

namespace {

constexpr const char* kCheckSynopsis = "check PROFILE [--table=FILE]";

int runCheck(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kCheckSynopsis, err)) return kExitUsage;
    CommandTableFile table;
    std::string bytes;
    if (const int rc = loadTableAndProfile(invocation, table, bytes, err); rc != kExitOk) return rc;
    settings::CheckedProfile profile;
    if (!checkedProfile(invocation.positional[0], bytes, table, true, profile, out)) return kExitUsage;
    out << invocation.positional[0] << ": " << profile.settings.size() << " settings, no problems\n";
    return kExitOk;
}

const Registrar kCheck{
    {"check",
     kCheckSynopsis,
     std::string("Checks a settings profile against the command file, without a camera: unknown\n"
                 "names, values outside a register's choices or range, settings set twice,\n"
                 "per-camera settings outside [PerCamera], a value that would reset the camera,\n"
                 "and a profile that sets nothing. Lists every problem with its line; exit 1 when\n"
                 "there is any.\n") +
         kTableOptionHelp,
     {kTableOption},
     &runCheck}};

} // namespace

} // namespace trelvik::cli
