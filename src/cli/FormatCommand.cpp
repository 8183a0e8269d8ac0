// SPDX-License-Identifier: MIT
#include <ostream>

#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

constexpr const char* kSynopsis = "format SLOT --yes [--simulate[=STATE.json]]";
constexpr long kLastSlot = 3;

int runFormat(const Invocation& invocation, std::ostream& /*out*/, std::ostream& err) {
    if (!expectArguments(invocation, 1, kSynopsis, err)) return kExitUsage;
    const auto slot = parseNumber(invocation.positional[0], kLastSlot);
    if (!slot) {
        err << "trelvik-cli format: SLOT must be 0-3, not '" << invocation.positional[0] << "'\n";
        return kExitUsage;
    }
    if (!invocation.has("yes")) {
        err << "trelvik-cli format: this erases the medium in slot " << *slot << "; add --yes to do it\n";
        return kExitUsage;
    }
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    if (link::FormatCard(session.disk(), static_cast<std::uint8_t>(*slot)) == link::Status::Ok) return kExitOk;
    err << "trelvik-cli: formatting the medium in slot " << *slot << " failed\n";
    return kExitCameraFailed;
}

const Registrar kRegistrar{{"format", kSynopsis,
                            std::string("Formats the medium in SLOT (0-3, as 'media' numbers them) on the connected\n"
                                        "camera. Without --yes nothing is sent.\n") +
                                kCameraOptionsHelp,
                            cameraOptions({{"yes", OptionValue::None}}), &runFormat}};

} // namespace

} // namespace trelvik::cli
