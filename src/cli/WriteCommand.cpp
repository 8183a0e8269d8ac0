// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/CommandTableFile.h"
#include "settings/SettingsProfile.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis =
    "write CODE VALUE | write NAME VALUE [--table=FILE] [--simulate[=STATE.json]]";

// A register name takes a value as a profile writes it, checked against the command file.
int writeByName(const settings::SettingRow& row, const Invocation& invocation, std::ostream& err) {
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    const settings::ParsedValue parsed =
        settings::parseProfileValue(row, invocation.positional[1], table.table());
    if (!parsed.error.empty()) {
        err << "trelvik-cli write: " << row.name << ": " << parsed.error << "\n";
        return kExitUsage;
    }
    if (row.code == 0x00 && parsed.bytes[0] == 0xFF) {
        err << "trelvik-cli write: 255 in DEBUG_SETTING resets the camera; use 'trelvik-cli reset'\n";
        return kExitUsage;
    }
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    for (std::size_t i = 0; i < parsed.bytes.size(); ++i)
        if (const auto written = session.camera().writeRegister(
                static_cast<std::uint8_t>(row.code + static_cast<int>(i)), parsed.bytes[i]);
            !written)
            return reportError(written.error(), err);
    return kExitOk;
}

int runWrite(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 2, kSynopsis, err)) return kExitUsage;
    if (const settings::SettingRow* row = settings::profileRowNamed(invocation.positional[0]))
        return writeByName(*row, invocation, err);
    const auto code = parseByteArgument("write", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    const auto value = parseByteArgument("write", "VALUE", invocation.positional[1], err);
    if (!value) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().writeRegister(*code, *value); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const Registrar kRegistrar{
    {"write", kSynopsis,
     std::string("Writes one register of the connected camera; succeeds when the camera\n"
                 "echoes code and value. CODE and VALUE are 0x.. or decimal, 0-255.\n"
                 "A register NAME writes its whole setting from a value as a profile writes it\n"
                 "(a number or a choice label, \"5 min\", a text), checked against the command file.\n"
                 "(0xFF into register 0x00 resets the camera: see 'reset'.)\n") +
         kTableOptionHelp + kCameraOptionsHelp,
     cameraOptions({kTableOption}), &runWrite}};

} // namespace

} // namespace trelvik::cli
