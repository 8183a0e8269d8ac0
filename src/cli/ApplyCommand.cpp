// SPDX-License-Identifier: MIT
// apply: a checked profile written to one camera or every one, read back and reported.
#include <ctime>
#include <map>
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"
#include "cli/ProfileSupport.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {

using settings::SettingRow;

constexpr const char* kApplySynopsis =
    "apply PROFILE [--no-verify] [--include-identity] [--all] [--device NAME] "
    "[--set-clock now|YYYY-MM-DDTHH:MM:SS] [--table=FILE] [--simulate[=STATE.json]]";

struct Row {
    const settings::PlannedSetting* planned;
    std::vector<std::string> written;
    std::string status = "not_sent";
    nlohmann::ordered_json readBack = nullptr;
};

// Writes one setting register by register, stopping at the first that fails. False when the
// camera is gone and nothing more can be sent.
bool writeSetting(link::CameraConnection& camera, Row& row) {
    row.written.clear();
    const auto done = writeSettingBytes(camera, *row.planned->row, row.planned->bytes, row.written);
    row.status = done ? "written" : statusOf(done.error());
    return done || !cameraGone(camera, done.error());
}

void verify(link::CameraConnection& camera, Row& row) {
    if (row.status != "written") return;
    const auto bytes = readSetting(camera, *row.planned->row);
    if (!bytes) {
        row.status = statusOf(bytes.error());
        return;
    }
    row.readBack = settings::profileValue(*row.planned->row, *bytes);
    // The exact bytes asked for, every register of the setting: a text's bytes after a zero
    // byte and its filling count as much as its first character.
    row.status = *bytes == row.planned->bytes ? "verified" : "mismatch";
}

nlohmann::ordered_json clockJson(const link::Result<std::tm>& time) {
    return time ? nlohmann::ordered_json(utilities::formatDateTime(*time)) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json outcomeJson(const link::Outcome& outcome) {
    return outcome ? nlohmann::ordered_json("ok") : nlohmann::ordered_json(outcome.error().text);
}

struct ApplyOptions {
    std::optional<std::tm> clock;
    bool verify = true;
    bool verbose = false;
};

// What one camera was sent and answered.
struct CameraApply {
    std::vector<Row> rows;
    bool present = true; // false once the camera went away
    std::optional<link::Outcome> hold, keep;
    nlohmann::ordered_json clock = nullptr;
    bool clockFailed = false;
};

// Save's order: the debug setting, every other setting by code inside the flash-save bracket,
// and the debug setting once more after it.
void writeInSaveOrder(link::CameraConnection& camera, CameraApply& apply) {
    Row* debug =
        !apply.rows.empty() && apply.rows.front().planned->row->code == 0x00 ? &apply.rows.front() : nullptr;
    apply.hold = camera.setFlashSave(link::kFlashSaveHold);
    for (Row& row : apply.rows)
        if (apply.present) apply.present = writeSetting(camera, row);
    if (apply.present) apply.keep = camera.setFlashSave(link::kFlashSaveKeep);
    if (apply.present && debug && debug->status == "written") apply.present = writeSetting(camera, *debug);
}

void setClock(link::CameraConnection& camera, const std::tm& time, CameraApply& apply) {
    if (!apply.present) {
        apply.clock = {{"error", "not sent: the camera went away"}};
        apply.clockFailed = true;
        return;
    }
    const auto before = camera.readClock();
    const link::Outcome written = camera.writeClock(time);
    apply.clock = {{"before", clockJson(before)}, {"after", clockJson(camera.readClock())}};
    if (!written) apply.clock["error"] = written.error().text;
    apply.clockFailed = !written;
}

// The report of one camera and the exit code it deserves.
std::pair<nlohmann::ordered_json, int> reportOf(link::CameraConnection& camera, const CameraApply& apply,
                                                const ApplyOptions& options, const std::string& device,
                                                std::ostream& err) {
    nlohmann::ordered_json settingsReport = nlohmann::ordered_json::array();
    std::map<std::string, int> counts{{"verified", 0}, {"written", 0},     {"mismatch", 0},
                                      {"failed", 0},   {"unsupported", 0}, {"not_sent", 0}};
    bool allGood = true, onlyUnsupported = true;
    for (const Row& row : apply.rows) {
        settingsReport.push_back({{"name", row.planned->row->name},
                                  {"codes", codesJson(*row.planned->row)},
                                  {"wanted", row.planned->value},
                                  {"read_back", row.readBack},
                                  {"written", row.written},
                                  {"status", row.status}});
        ++counts[row.status];
        if (options.verbose)
            err << "trelvik-cli: " << device << " " << row.planned->row->name << ": " << row.status << "\n";
        const bool good =
            row.status == "verified" || (row.status == "written" && !options.verify && apply.present);
        allGood = allGood && good;
        onlyUnsupported = onlyUnsupported && (good || row.status == "unsupported");
    }
    const auto identity = [](const link::Result<std::string>& value) {
        return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
    };
    // A bracket the camera refused may leave the settings unkept at its next power-off.
    const bool bracketFailed = (apply.hold && !*apply.hold) || (apply.keep && !*apply.keep) || !apply.keep;
    nlohmann::ordered_json report = {
        {"device", device},
        {"identity",
         {{"version", identity(camera.readVersion())},
          {"model", identity(camera.readModel())},
          {"make", identity(camera.readMake())}}},
        {"settings", settingsReport},
        {"flash_save",
         {{"before", apply.hold ? outcomeJson(*apply.hold) : nullptr},
          {"after", apply.keep ? outcomeJson(*apply.keep) : nlohmann::ordered_json("not sent")}}},
        {"clock", apply.clock},
        {"summary",
         {{"verified", counts["verified"]},
          {"written", counts["written"]},
          {"mismatch", counts["mismatch"]},
          {"failed", counts["failed"] + counts["not_sent"]},
          {"unsupported", counts["unsupported"]}}}};
    int code = allGood ? kExitOk : onlyUnsupported ? kExitNotSupported : kExitCameraFailed;
    if (bracketFailed || apply.clockFailed) code = std::max<int>(code, kExitCameraFailed);
    return {report, code};
}

// Applies a checked profile to one camera: its report and the exit code it deserves.
std::pair<nlohmann::ordered_json, int> applyCamera(link::CameraConnection& camera,
                                                   const settings::CheckedProfile& profile,
                                                   const ApplyOptions& options, std::ostream& err) {
    CameraApply apply;
    for (const auto& planned : profile.settings)
        apply.rows.push_back(Row{&planned, {}, "not_sent", nullptr});
    const std::string device = deviceName(camera);
    writeInSaveOrder(camera, apply);
    // A camera that went away cannot be read back: what was written stays "written".
    if (apply.present && options.verify)
        for (Row& row : apply.rows)
            verify(camera, row);
    if (options.clock) setClock(camera, *options.clock, apply);
    return reportOf(camera, apply, options, device, err);
}

int runApply(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kApplySynopsis, err)) return kExitUsage;
    CommandTableFile table;
    std::string bytes;
    if (const int rc = loadTableAndProfile(invocation, table, bytes, err); rc != kExitOk) return rc;
    ApplyOptions options;
    options.verify = !invocation.has("no-verify");
    options.verbose = invocation.has("verbose");
    if (const auto when = invocation.value("set-clock")) {
        if (*when == "now") {
            const std::time_t now = std::time(nullptr);
            options.clock = *std::localtime(&now);
        } else {
            options.clock = utilities::parseDateTime(*when);
        }
        if (!options.clock) {
            err << "trelvik-cli apply: '" << *when
                << "' is not 'now' or a date and time YYYY-MM-DDTHH:MM:SS\n";
            return kExitUsage;
        }
    }
    settings::CheckedProfile profile;
    // Nothing is sent for a profile with a problem.
    if (!checkedProfile(invocation.positional[0], bytes, table, invocation.has("include-identity"), profile,
                        err))
        return kExitUsage;
    CameraSession session;
    if (!invocation.has("all")) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        const auto [report, code] = applyCamera(session.camera(), profile, options, err);
        printJson(out, report);
        return code;
    }
    if (const int rc = session.startAll(invocation, err); rc != kExitOk) return rc;
    nlohmann::ordered_json reports = nlohmann::ordered_json::array();
    int cameras = 0, ok = 0;
    const int worst = forEachCamera(
        session, err, [&](const std::string& name, const link::ConnectionError* openError) -> int {
            ++cameras;
            if (openError) {
                reports.push_back({{"device", name}, {"error", openError->text}});
                return kExitOk; // reported already
            }
            auto [report, code] = applyCamera(session.camera(), profile, options, err);
            reports.push_back(std::move(report));
            ok += code == kExitOk;
            return code;
        });
    printJson(out, {{"cameras", reports},
                    {"summary", {{"cameras", cameras}, {"ok", ok}, {"failed", cameras - ok}}}});
    return worst;
}

const Registrar kApply{
    {"apply", kApplySynopsis,
     std::string("Checks a settings profile, writes its settings to the connected camera in the\n"
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
                 "  --all                    every camera connected, one after another; the report\n"
                 "                           is {\"cameras\": [...], \"summary\": {...}}\n"
                 "  --verbose                one line per setting on stderr\n") +
         kTableOptionHelp + kCameraOptionsHelp,
     cameraOptions({kTableOption,
                    {"no-verify", OptionValue::None},
                    {"include-identity", OptionValue::None},
                    {"set-clock", OptionValue::Required},
                    {"all", OptionValue::None},
                    {"verbose", OptionValue::None}}),
     &runApply}};

} // namespace

} // namespace trelvik::cli
