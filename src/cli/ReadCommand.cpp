// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/CommandTableFile.h"
#include "cli/JsonOutput.h"
#include "settings/SettingsProfile.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "read CODE|NAME | read --all [--table=FILE] [--simulate[=STATE.json]]";

// Every setting the command file names, as JSON: name, codes, raw bytes, value and label.
int readAll(CameraSession& session, const Invocation& invocation, std::ostream& out, std::ostream& err) {
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    bool anyFailed = false;
    for (const settings::SettingRow* row : settings::profileRows(table.table())) {
        nlohmann::ordered_json codes = nlohmann::ordered_json::array(), raw = nlohmann::ordered_json::array();
        std::vector<std::uint8_t> bytes;
        std::string error;
        for (int i = 0; i < row->width; ++i) {
            const auto code = static_cast<std::uint8_t>(row->code + i);
            codes.push_back(hexByte(code));
            const auto value = session.camera().readRegister(code);
            if (!value) {
                error = value.error().text;
                anyFailed = anyFailed || value.error().kind != link::ConnectionError::Kind::NotSupported;
                break;
            }
            bytes.push_back(*value);
            raw.push_back(hexByte(*value));
        }
        const bool whole = error.empty();
        rows.push_back(
            {{"name", row->name},
             {"codes", codes},
             {"raw", raw},
             {"value", whole ? nlohmann::ordered_json(settings::profileValue(*row, bytes)) : nullptr},
             {"label", settings::profileLabel(*row, bytes, table.table())},
             {"error", whole ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(error)}});
    }
    printJson(out, rows);
    return anyFailed ? kExitCameraFailed : kExitOk;
}

int runRead(CameraSession& session, const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (invocation.has("all")) {
        if (!expectArguments(invocation, 0, kSynopsis, err)) return kExitUsage;
        return readAll(session, invocation, out, err);
    }
    if (!expectArguments(invocation, 1, kSynopsis, err)) return kExitUsage;
    const std::string& argument = invocation.positional[0];
    // A register name reads its whole setting and prints it as a profile writes it.
    if (const settings::SettingRow* row = settings::profileRowNamed(argument)) {
        if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < row->width; ++i) {
            const auto value = session.camera().readRegister(static_cast<std::uint8_t>(row->code + i));
            if (!value) return reportError(value.error(), err);
            bytes.push_back(*value);
        }
        out << settings::profileValue(*row, bytes) << "\n";
        return kExitOk;
    }
    const auto code = parseByteArgument("read", "CODE", argument, err);
    if (!code) return kExitUsage;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    const auto value = session.camera().readRegister(*code);
    if (!value) return reportError(value.error(), err);
    out << hexByte(*value) << "\n";
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "read",
     .synopsis = kSynopsis,
     .help = std::string("Reads one register of the connected camera and prints its value as 0xHH.\n"
                         "CODE is 0x.. hexadecimal or decimal, 0-255. A register NAME of the settings\n"
                         "(PIR_SENSITIVITY, HC_PIR_INTERVAL, ...) reads the whole setting and prints it\n"
                         "as a profile writes it (\"2\", \"5 min\", \"\\\"0000\\\"\").\n"
                         "  --all                    every setting the command file names, as JSON\n") +
             kTableOptionHelp,
     .options = {kTableOption, {"all", OptionValue::None}},
     .arguments = std::nullopt,
     .opening = Opening::ByCommand,
     .run = &runRead}};

} // namespace

} // namespace trelvik::cli
