// SPDX-License-Identifier: MIT
// dump: a camera's settings as a profile, or one profile per camera.
#include <ctime>
#include <filesystem>
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"
#include "cli/ProfileFiles.h"
#include "cli/ProfileSupport.h"
#include "platform/PlainFile.h"
#include "settings/ProfileDump.h"

namespace trelvik::cli {

namespace {

constexpr const char* kDumpSynopsis =
    "dump [--output FILE] [--json] [--table=FILE] [--simulate[=STATE.json]]";

std::string today() {
    const std::tm now = localNow();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &now);
    return text;
}

// One camera's profile: the document and the exit code it deserves.
struct Dump {
    std::string document;
    int code = kExitOk;
};

Dump dumpOf(link::CameraConnection& camera, const CommandTableFile& table, bool json, std::ostream& err) {
    const settings::CameraDump dump = settings::dumpCamera(camera, table.table(), today());
    for (const settings::DumpedSetting& setting : dump.settings)
        if (setting.bytes.empty())
            err << "trelvik-cli: " << setting.row->name << " left out: " << setting.why << "\n";
    Dump result;
    result.code = dump.readFailed ? kExitCameraFailed : kExitOk;
    if (!json) {
        result.document = settings::dumpText(dump, table.table());
        return result;
    }
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const auto& setting : dump.settings)
        rows.push_back({{"name", setting.row->name},
                        {"codes", settings::codesJson(*setting.row)},
                        {"section", settings::isPerCamera(*setting.row) ? "PerCamera" : "Settings"},
                        {"value", setting.bytes.empty() ? nlohmann::ordered_json(nullptr)
                                                        : nlohmann::ordered_json(settings::profileValue(
                                                              *setting.row, setting.bytes))},
                        {"label", settings::profileLabel(*setting.row, setting.bytes, table.table())},
                        {"left_out", setting.why}});
    result.document = settings::jsonDocument({{"camera",
                                               {{"device", dump.device},
                                                {"version", dump.version},
                                                {"model", dump.model},
                                                {"make", dump.make},
                                                {"dumped", dump.dumped}}},
                                              {"settings", rows}});
    return result;
}

int runDump(CameraSession& session, const Invocation& invocation, std::ostream& out, std::ostream& err) {
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    const bool json = invocation.has("json");
    if (!invocation.has("all")) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        const Dump dump = dumpOf(session.camera(), table, json, err);
        if (const auto output = invocation.value("output")) {
            if (!writeProfileFile(*output, dump.document, err)) return kExitUsage;
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
    if (const int rc = session.startAll(invocation, err); rc != kExitOk) return rc;
    std::error_code ignored;
    std::filesystem::create_directories(platform::filesystemPath(*folder), ignored);
    return forEachCamera(session, err,
                         [&](link::CameraConnection& camera, const std::string& name,
                             const link::ConnectionError* openError, std::ostream& lines) -> int {
                             if (openError) return kExitOk; // reported already
                             const std::string path =
                                 platform::narrowPath(platform::filesystemPath(*folder) /
                                                      platform::filesystemPath(settings::safeFileName(name) +
                                                                               (json ? ".json" : ".ini")));
                             if (!mayWriteProfile(path, name, lines)) return kExitUsage;
                             const Dump dump = dumpOf(camera, table, json, lines);
                             return writeProfileFile(path, dump.document, lines) ? dump.code : kExitUsage;
                         });
}

const CameraRegistrar kDump{
    {.name = "dump",
     .synopsis = kDumpSynopsis,
     .help =
         std::string("Reads every setting the command file names from the connected camera, in the\n"
                     "order the tool loads them, and writes a settings profile (stdout, or FILE with\n"
                     "--output; JSON with --json). A register the camera does not support or could\n"
                     "not read is left out with a comment saying why. Exit 2 when any read failed,\n"
                     "0 when only unsupported ones were left out. A file is written whole or not at all.\n"
                     "  --output FILE            write the profile to FILE\n"
                     "  --json                   the settings as JSON instead\n"
                     "  --all                    every camera connected, one profile each in the folder\n"
                     "                           --output names, called after the camera; a file there\n"
                     "                           is replaced only when it is an earlier profile of it\n") +
         kAllCamerasHelp + kTableOptionHelp,
     .options = {kTableOption,
                 {"output", OptionValue::Required},
                 {"json", OptionValue::None},
                 {"all", OptionValue::None},
                 {"jobs", OptionValue::Required}},
     .opening = Opening::ByCommand,
     .run = &runDump}};

} // namespace

} // namespace trelvik::cli
