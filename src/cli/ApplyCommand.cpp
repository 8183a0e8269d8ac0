// SPDX-License-Identifier: MIT
// apply: a checked profile written to one camera or every one, read back and reported.
#include <ctime>
#include <map>
#include <mutex>
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"
#include "cli/ProfileSupport.h"
#include "settings/ProfileApply.h"
#include "settings/ProfileDump.h"
#include "settings/json/ApplyReportJson.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {

constexpr const char* kApplySynopsis =
    "apply PROFILE [--no-verify] [--include-identity] [--all] [--device NAME] "
    "[--set-clock now|YYYY-MM-DDTHH:MM:SS] [--table=FILE] [--simulate[=STATE.json]]";

// One camera's report as JSON, and the exit code it deserves.
std::pair<nlohmann::ordered_json, int> reportOf(link::CameraConnection& camera,
                                                const settings::ApplyReport& apply, const std::string& device,
                                                bool verbose, std::ostream& err) {
    if (verbose)
        for (const settings::AppliedSetting& setting : apply.settings)
            err << "trelvik-cli: " << device << " " << setting.planned->row->name << ": "
                << settings::applyStatusName(setting.status) << "\n";
    nlohmann::ordered_json report = settings::applyReportJson(camera, apply, device);
    int code = apply.settingsGood()                 ? kExitOk
               : apply.settingsGoodButUnsupported() ? kExitNotSupported
                                                    : kExitCameraFailed;
    if (apply.bracketFailed() || apply.clockFailed()) code = std::max<int>(code, kExitCameraFailed);
    return {report, code};
}

// Applies a checked profile to one camera: its report and the exit code it deserves.
std::pair<nlohmann::ordered_json, int> applyCamera(link::CameraConnection& camera,
                                                   const settings::CheckedProfile& profile,
                                                   const settings::ApplyOptions& options, bool verbose,
                                                   std::ostream& err) {
    const std::string device = settings::cameraName(camera);
    const settings::ApplyReport apply = settings::applyProfile(camera, profile, options);
    return reportOf(camera, apply, device, verbose, err);
}

int runApply(CameraSession& session, const Invocation& invocation, std::ostream& out, std::ostream& err) {
    CommandTableFile table;
    std::string bytes;
    if (const int rc = loadTableAndProfile(invocation, table, bytes, err); rc != kExitOk) return rc;
    settings::ApplyOptions options;
    options.verify = !invocation.has("no-verify");
    const bool verbose = invocation.has("verbose");
    if (const auto when = invocation.value("set-clock")) {
        options.clock = clockArgument("apply", *when, err);
        if (!options.clock) return kExitUsage;
    }
    settings::CheckedProfile profile;
    // Nothing is sent for a profile with a problem.
    if (!checkedProfile(invocation.positional[0], bytes, table, invocation.has("include-identity"), profile,
                        err))
        return kExitUsage;
    if (!invocation.has("all")) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        const auto [report, code] = applyCamera(session.camera(), profile, options, verbose, err);
        printJson(out, report);
        return code;
    }
    if (const int rc = session.startAll(invocation, err); rc != kExitOk) return rc;
    // By name, as the cameras finish in any order.
    std::map<std::string, std::pair<nlohmann::ordered_json, int>> byName;
    std::mutex reportsLock;
    const int worst = forEachCamera(
        session, err,
        [&](link::CameraConnection& camera, const std::string& name, const link::ConnectionError* openError,
            std::ostream& lines) -> int {
            auto result =
                openError ? std::pair{nlohmann::ordered_json{{"device", name}, {"error", openError->text}},
                                      kExitCameraFailed}
                          : applyCamera(camera, profile, options, verbose, lines);
            const int code = openError ? kExitOk : result.second; // reported already
            const std::lock_guard lock(reportsLock);
            byName[name] = std::move(result);
            return code;
        });
    nlohmann::ordered_json reports = nlohmann::ordered_json::array();
    int cameras = 0, ok = 0;
    for (auto& [name, result] : byName) {
        ++cameras;
        ok += result.second == kExitOk;
        reports.push_back(std::move(result.first));
    }
    printJson(out, {{"cameras", reports},
                    {"summary", {{"cameras", cameras}, {"ok", ok}, {"failed", cameras - ok}}}});
    return worst;
}

const CameraRegistrar kApply{
    {.name = "apply",
     .synopsis = kApplySynopsis,
     .help = std::string("Checks a settings profile, writes its settings to the connected camera in the\n"
                         "order the tool saves them (inside the flash-save bracket), reads every written\n"
                         "register back and prints a JSON report, one row per setting with status\n"
                         "verified, mismatch, failed, unsupported or not_sent; \"written\" when it was\n"
                         "not read back (--no-verify, or the camera went away), with the registers written.\n"
                         "Exit 0 when every setting is verified (written, with --no-verify), 3 when the\n"
                         "only shortfall is settings the camera does not support, 2 otherwise, also when\n"
                         "the flash-save bracket or the clock failed; nothing is sent for a profile with a\n"
                         "problem (exit 1). Applying again after an interruption completes the job.\n"
                         "  --no-verify              do not read the settings back\n"
                         "  --include-identity       also write [PerCamera] (serial number, coordinates)\n"
                         "  --set-clock WHEN         then set the clock: 'now' or YYYY-MM-DDTHH:MM:SS\n"
                         "  --all                    every camera connected, side by side; the report\n"
                         "                           is {\"cameras\": [...], \"summary\": {...}}\n"
                         "  --verbose                one line per setting on stderr\n") +
             kAllCamerasHelp + kTableOptionHelp,
     .options = {kTableOption,
                 {"no-verify", OptionValue::None},
                 {"include-identity", OptionValue::None},
                 {"set-clock", OptionValue::Required},
                 {"all", OptionValue::None},
                 {"jobs", OptionValue::Required},
                 {"verbose", OptionValue::None}},
     .arguments = 1,
     .opening = Opening::ByCommand,
     .run = &runApply}};

} // namespace

} // namespace trelvik::cli
