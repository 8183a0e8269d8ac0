// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "cli/CommandTableFile.h"
#include "cli/ProfileSupport.h"
#include "settings/ProfileApply.h"
#include "settings/ProfileText.h"
#include "text/Hex.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis =
    "write CODE VALUE | write NAME VALUE [--yes] [--table=FILE] [--simulate[=STATE.json]]";

// A setting of several registers that failed part-way is half one value, half another: say which.
int reportPartWrite(const settings::SettingRow& row, const std::vector<std::uint8_t>& written,
                    const link::ConnectionError& error, std::ostream& err) {
    const int code = reportError(error, err);
    if (written.empty()) return code;
    err << "trelvik-cli write: " << row.name << " is half written: ";
    for (std::size_t i = 0; i < written.size(); ++i)
        err << (i ? ", " : "") << hexByte(written[i]);
    err << " hold the new value, the registers after them the old one\n";
    return code;
}

// A register name takes a value as a profile writes it, checked against the command file.
int writeByName(CameraSession& session, const settings::SettingRow& row, const Invocation& invocation,
                std::ostream& err) {
    CommandTableFile table;
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    const std::string& text = invocation.positional[1];
    settings::ParsedValue parsed = settings::parseProfileValue(row, text, table.table());
    // The reset value is no choice of the list, yet it is what was asked for.
    if (const auto number = text::parseNumber(settings::trimmed(text), 0xFF);
        number && link::isFactoryReset(row.code, static_cast<int>(*number)))
        parsed = {{static_cast<std::uint8_t>(*number)}, {}};
    if (!parsed.error.empty()) {
        err << "trelvik-cli write: " << row.name << ": " << parsed.error << "\n";
        return kExitUsage;
    }
    if (link::isFactoryReset(row.code, parsed.bytes[0]) &&
        !resetConfirmed("write", "255 into " + std::string(row.name), invocation, err))
        return kExitUsage;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    std::vector<std::uint8_t> written;
    if (const auto done = settings::writeSetting(session.camera(), row, parsed.bytes, written); !done)
        return reportPartWrite(row, written, done.error(), err);
    return kExitOk;
}

int runWrite(CameraSession& session, const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (const settings::SettingRow* row = settings::profileRowNamed(invocation.positional[0]))
        return writeByName(session, *row, invocation, err);
    const auto code = parseByteArgument("write", "CODE", invocation.positional[0], err);
    if (!code) return kExitUsage;
    const auto value = parseByteArgument("write", "VALUE", invocation.positional[1], err);
    if (!value) return kExitUsage;
    if (link::isFactoryReset(*code, *value) &&
        !resetConfirmed("write", "255 into register 0x00", invocation, err))
        return kExitUsage;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto written = session.camera().writeRegister(*code, *value); !written)
        return reportError(written.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "write",
     .synopsis = kSynopsis,
     .help =
         std::string("Writes one register of the connected camera; succeeds when the camera\n"
                     "echoes code and value. CODE and VALUE are 0x.. or decimal, 0-255.\n"
                     "A register NAME writes its whole setting from a value as a profile writes it\n"
                     "(a number or a choice label, \"5 min\", a text), checked against the command file;\n"
                     "when one of its registers fails, the message names those already written.\n"
                     "255 into register 0x00 resets the camera and needs --yes, as 'reset' does.\n") +
         kTableOptionHelp,
     .options = {kTableOption, {"yes", OptionValue::None}},
     .arguments = 2,
     .opening = Opening::ByCommand,
     .run = &runWrite}};

} // namespace

} // namespace trelvik::cli
