// SPDX-License-Identifier: MIT
// Settings profiles: dump a camera's settings, check a profile, apply it with verification.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "cli/CameraSession.h"
#include "cli/CommandTableFile.h"
#include "cli/JsonOutput.h"
#include "settings/SettingsProfile.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {

using settings::SettingRow;

constexpr std::uint8_t kFlashHold = 0;
constexpr std::uint8_t kFlashKeep = 1;

nlohmann::ordered_json codesJson(const SettingRow& row) {
    nlohmann::ordered_json codes = nlohmann::ordered_json::array();
    for (int i = 0; i < row.width; ++i)
        codes.push_back(hexByte(static_cast<std::uint8_t>(row.code + i)));
    return codes;
}

// Reads every register of a setting. The bytes, or the error of the first that failed.
link::Result<std::vector<std::uint8_t>> readSetting(link::CameraConnection& camera, const SettingRow& row) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < row.width; ++i) {
        const auto value = camera.readRegister(static_cast<std::uint8_t>(row.code + i));
        if (!value) return value.error();
        bytes.push_back(*value);
    }
    return bytes;
}

// After a failed transfer: whether the camera is gone, so nothing more can be sent to it.
bool cameraGone(link::CameraConnection& camera, const link::ConnectionError& error) {
    using Kind = link::ConnectionError::Kind;
    if (error.kind == Kind::NoCamera || error.kind == Kind::OpenFailed) return true;
    return error.kind == Kind::CameraFailed && camera.drives().empty();
}

std::string statusOf(const link::ConnectionError& error) {
    return error.kind == link::ConnectionError::Kind::NotSupported ? "unsupported" : "failed";
}

int readProfileFile(const std::string& path, std::string& bytes, std::ostream& err) {
    if (const auto problem = notAFile(path)) {
        err << "trelvik-cli: " << path << " " << *problem << "\n";
        return kExitUsage;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return kExitOk;
}

// ---- dump -----------------------------------------------------------------------------

constexpr const char* kDumpSynopsis =
    "dump [--output FILE] [--json] [--table=FILE] [--simulate[=STATE.json]]";

std::string today() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", std::localtime(&now));
    return text;
}

// One camera's profile: the document and the exit code it deserves.
struct Dump {
    std::string document;
    int code = kExitOk;
};

Dump dumpCamera(link::CameraConnection& camera, const CommandTableFile& table, bool json, std::ostream& err) {
    const auto text = [](const link::Result<std::string>& value) { return value ? *value : std::string(); };
    const std::string version = text(camera.readVersion()), model = text(camera.readModel()),
                      make = text(camera.readMake());
    std::vector<settings::DumpedSetting> dumped;
    Dump result;
    for (const SettingRow* row : settings::profileRows(table.table())) {
        const auto bytes = readSetting(camera, *row);
        if (bytes) {
            dumped.push_back({row, *bytes, {}});
            continue;
        }
        const bool unsupported = bytes.error().kind == link::ConnectionError::Kind::NotSupported;
        if (!unsupported) result.code = kExitCameraFailed;
        dumped.push_back(
            {row, {}, unsupported ? "not supported by the camera" : "failed: " + bytes.error().text});
        err << "trelvik-cli: " << row->name << " left out: " << dumped.back().why << "\n";
    }
    std::ostringstream document;
    if (json) {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        for (const auto& setting : dumped)
            rows.push_back({{"name", setting.row->name},
                            {"codes", codesJson(*setting.row)},
                            {"section", settings::isPerCamera(*setting.row) ? "PerCamera" : "Settings"},
                            {"value", setting.bytes.empty() ? nlohmann::ordered_json(nullptr)
                                                            : nlohmann::ordered_json(settings::profileValue(
                                                                  *setting.row, setting.bytes))},
                            {"label", settings::profileLabel(*setting.row, setting.bytes, table.table())},
                            {"left_out", setting.why}});
        printJson(document,
                  {{"camera", {{"version", version}, {"model", model}, {"make", make}, {"dumped", today()}}},
                   {"settings", rows}});
    } else {
        document << settings::writeProfile(
            {"model=" + model, "make=" + make, "firmware=" + version, "dumped=" + today()}, dumped,
            table.table());
    }
    result.document = document.str();
    return result;
}

bool writeFile(const std::string& path, const std::string& text, std::ostream& err) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (file) return true;
    err << "trelvik-cli: cannot write " << path << "\n";
    return false;
}

int runDump(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 0, kDumpSynopsis, err)) return kExitUsage;
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    CameraSession session;
    const bool json = invocation.has("json");
    if (!invocation.has("all")) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        const Dump dump = dumpCamera(session.camera(), table, json, err);
        if (const auto output = invocation.value("output")) {
            if (!writeFile(*output, dump.document, err)) return kExitUsage;
        } else {
            out << dump.document;
        }
        return dump.code;
    }
    // One profile per camera, named after it, in the folder --output names.
    const auto folder = invocation.value("output");
    if (!folder) {
        err << "trelvik-cli dump --all: name the folder for the profiles with --output DIR\n";
        return kExitUsage;
    }
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;
    std::error_code ignored;
    std::filesystem::create_directories(*folder, ignored);
    return forEachCamera(
        session, err, [&](const std::string& name, const link::ConnectionError* openError) -> int {
            if (openError) return kExitOk; // reported already
            const std::string path =
                (std::filesystem::path(*folder) / (name + (json ? ".json" : ".ini"))).string();
            const Dump dump = dumpCamera(session.camera(), table, json, err);
            return writeFile(path, dump.document, err) ? dump.code : kExitUsage;
        });
}

const Registrar kDump{
    {"dump", kDumpSynopsis,
     std::string("Reads every setting the command file names from the connected camera, in the\n"
                 "order the tool loads them, and writes a settings profile (stdout, or FILE with\n"
                 "--output; JSON with --json). A register the camera does not support or could\n"
                 "not read is left out with a comment saying why. Exit 2 when any read failed,\n"
                 "0 when only unsupported ones were left out.\n"
                 "  --output FILE            write the profile to FILE\n"
                 "  --json                   the settings as JSON instead\n"
                 "  --all                    every camera connected, one profile each in the folder\n"
                 "                           --output names, called after the camera\n") +
         kTableOptionHelp + kCameraOptionsHelp,
     cameraOptions({kTableOption,
                    {"output", OptionValue::Required},
                    {"json", OptionValue::None},
                    {"all", OptionValue::None}}),
     &runDump}};

// ---- check ----------------------------------------------------------------------------

constexpr const char* kCheckSynopsis = "check PROFILE [--table=FILE]";

// Checks a profile; lists its problems on `out` as "FILE:LINE: text".
bool checked(const std::string& path, const std::string& bytes, const CommandTableFile& table,
             bool includePerCamera, settings::CheckedProfile& profile, std::ostream& out) {
    profile = settings::checkProfile(bytes, table.table(), includePerCamera);
    for (const auto& problem : profile.problems)
        out << path << ":" << problem.line << ": " << problem.text << "\n";
    return profile.problems.empty();
}

int runCheck(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kCheckSynopsis, err)) return kExitUsage;
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    std::string bytes;
    if (const int rc = readProfileFile(invocation.positional[0], bytes, err); rc != kExitOk) return rc;
    settings::CheckedProfile profile;
    if (!checked(invocation.positional[0], bytes, table, true, profile, out)) return kExitUsage;
    out << invocation.positional[0] << ": " << profile.settings.size() << " settings, no problems\n";
    return kExitOk;
}

const Registrar kCheck{
    {"check",
     kCheckSynopsis,
     std::string("Checks a settings profile against the command file, without a camera: unknown\n"
                 "names, values outside a register's choices or range, settings set twice,\n"
                 "per-camera settings outside [PerCamera], and a value that would reset the\n"
                 "camera. Lists every problem with its line; exit 1 when there is any.\n") +
         kTableOptionHelp,
     {kTableOption},
     &runCheck}};

// ---- apply ----------------------------------------------------------------------------

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
    const SettingRow& setting = *row.planned->row;
    for (std::size_t i = 0; i < row.planned->bytes.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(setting.code + static_cast<int>(i));
        const auto done = camera.writeRegister(code, row.planned->bytes[i]);
        if (!done) {
            row.status = statusOf(done.error());
            return !cameraGone(camera, done.error());
        }
        row.written.push_back(hexByte(code));
    }
    row.status = "written";
    return true;
}

void verify(link::CameraConnection& camera, Row& row) {
    if (row.status != "written") return;
    const auto bytes = readSetting(camera, *row.planned->row);
    if (!bytes) {
        row.status = statusOf(bytes.error());
        return;
    }
    row.readBack = settings::profileValue(*row.planned->row, *bytes);
    row.status = *bytes == row.planned->bytes ? "verified" : "mismatch";
}

nlohmann::ordered_json clockJson(const link::Result<std::tm>& time) {
    return time ? nlohmann::ordered_json(utilities::formatDateTime(*time)) : nlohmann::ordered_json(nullptr);
}

struct ApplyOptions {
    std::optional<std::tm> clock;
    bool verify = true;
    bool verbose = false;
};

// Applies a checked profile to one camera: its report and the exit code it deserves.
std::pair<nlohmann::ordered_json, int> applyCamera(link::CameraConnection& camera,
                                                   const settings::CheckedProfile& profile,
                                                   const ApplyOptions& options, std::ostream& err) {
    std::vector<Row> rows;
    for (const auto& planned : profile.settings)
        rows.push_back(Row{&planned, {}, "not_sent", nullptr});
    // Save's order: the debug setting, every other setting by code inside the flash-save
    // bracket, and the debug setting once more after it.
    Row* debug = !rows.empty() && rows.front().planned->row->code == 0x00 ? &rows.front() : nullptr;
    const auto drives = camera.drives();
    const std::string device = drives.empty() ? std::string() : drives.front().name;
    // The bracket's answers are not examined, as Save does not: the writes tell.
    camera.setFlashSave(kFlashHold);
    bool present = true;
    for (Row& row : rows)
        if (present) present = writeSetting(camera, row);
    if (present) camera.setFlashSave(kFlashKeep);
    if (present && debug && debug->status == "written") present = writeSetting(camera, *debug);
    // A camera that went away cannot be read back: what was written stays "written".
    if (present && options.verify)
        for (Row& row : rows)
            verify(camera, row);
    nlohmann::ordered_json clockReport = nullptr;
    if (options.clock && present) {
        const auto before = camera.readClock();
        camera.writeClock(*options.clock);
        clockReport = {{"before", clockJson(before)}, {"after", clockJson(camera.readClock())}};
    }
    const auto identity = [](const link::Result<std::string>& value) {
        return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json settingsReport = nlohmann::ordered_json::array();
    std::map<std::string, int> counts{{"verified", 0}, {"mismatch", 0}, {"failed", 0}, {"unsupported", 0}};
    bool allGood = true, onlyUnsupported = true;
    for (const Row& row : rows) {
        settingsReport.push_back({{"name", row.planned->row->name},
                                  {"codes", codesJson(*row.planned->row)},
                                  {"wanted", row.planned->value},
                                  {"read_back", row.readBack},
                                  {"written", row.written},
                                  {"status", row.status}});
        ++counts[row.status];
        if (options.verbose)
            err << "trelvik-cli: " << device << " " << row.planned->row->name << ": " << row.status << "\n";
        const bool good = row.status == "verified" || (row.status == "written" && !options.verify && present);
        allGood = allGood && good;
        onlyUnsupported = onlyUnsupported && (good || row.status == "unsupported");
    }
    nlohmann::ordered_json report = {{"device", device},
                                     {"identity",
                                      {{"version", identity(camera.readVersion())},
                                       {"model", identity(camera.readModel())},
                                       {"make", identity(camera.readMake())}}},
                                     {"settings", settingsReport},
                                     {"clock", clockReport},
                                     {"summary",
                                      {{"verified", counts["verified"]},
                                       {"mismatch", counts["mismatch"]},
                                       {"failed", counts["failed"] + counts["not_sent"] + counts["written"]},
                                       {"unsupported", counts["unsupported"]}}}};
    return {report, allGood ? kExitOk : onlyUnsupported ? kExitNotSupported : kExitCameraFailed};
}

int runApply(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 1, kApplySynopsis, err)) return kExitUsage;
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    std::string bytes;
    if (const int rc = readProfileFile(invocation.positional[0], bytes, err); rc != kExitOk) return rc;
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
    if (!checked(invocation.positional[0], bytes, table, invocation.has("include-identity"), profile, err))
        return kExitUsage;
    CameraSession session;
    if (!invocation.has("all")) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        const auto [report, code] = applyCamera(session.camera(), profile, options, err);
        printJson(out, report);
        return code;
    }
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;
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
                 "Exit 0 when every setting is verified, 3 when the only shortfall is settings\n"
                 "the camera does not support, 2 otherwise; nothing is sent for a profile with a\n"
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
