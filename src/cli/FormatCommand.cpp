// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "text/Hex.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "format SLOT --yes [--simulate[=STATE.json]]";
constexpr std::uint32_t kLastSlot = 3;

int runFormat(CameraSession& session, const Invocation& invocation, std::ostream& /*out*/,
              std::ostream& err) {
    const auto slot = text::parseNumber(invocation.positional[0], kLastSlot);
    if (!slot) {
        err << "trelvik-cli format: SLOT must be 0-3, not '" << invocation.positional[0] << "'\n";
        return kExitUsage;
    }
    if (!invocation.has("yes")) {
        err << "trelvik-cli format: this erases the medium in slot " << *slot << "; add --yes to do it\n";
        return kExitUsage;
    }
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (const auto formatted = session.camera().formatCard(static_cast<std::uint8_t>(*slot)); !formatted)
        return reportError(formatted.error(), err);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "format",
     .synopsis = kSynopsis,
     .help = "Formats the medium in SLOT (0-3, as 'media' numbers them) on the connected\n"
             "camera. Without --yes nothing is sent.\n",
     .options = {{"yes", OptionValue::None}},
     .arguments = 1,
     .opening = Opening::ByCommand,
     .run = &runFormat}};

} // namespace

} // namespace trelvik::cli
