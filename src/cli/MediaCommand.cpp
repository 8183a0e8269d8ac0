// SPDX-License-Identifier: MIT
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"
#include "utilities/MediaSlot.h"

namespace trelvik::cli {

namespace {

int runMedia(CameraSession& session, const Invocation& /*invocation*/, std::ostream& out, std::ostream& err) {
    const auto status = session.camera().readCardStatus();
    if (!status) return reportError(status.error(), err);
    nlohmann::ordered_json media = nlohmann::ordered_json::array();
    for (std::size_t index = 0; index < status->size(); ++index) {
        const utilities::MediaSlot slot = utilities::decodeMediaSlot((*status)[index]);
        if (slot.type == 0) continue; // an empty slot gets no row
        media.push_back({{"slot", index},
                         {"name", slot.name},
                         {"protected", slot.writeProtected},
                         {"inserted", slot.inserted}});
    }
    nlohmann::ordered_json result;
    result["status"] = *status;
    result["media"] = std::move(media);
    printJson(out, result);
    return kExitOk;
}

const CameraRegistrar kRegistrar{
    {.name = "media",
     .synopsis = "media [--simulate[=STATE.json]]",
     .help = "Reads the status bytes of the four media slots and lists the slots that hold a medium:\n"
             "{\"status\": [4 bytes], \"media\": [{\"slot\", \"name\", \"protected\", \"inserted\"}]}.\n"
             "Bits 0-3 of a status byte are the medium type, bit 6 write protection, bit 7 no card\n"
             "inserted; a byte of 16 or more cannot be formatted.\n",
     .run = &runMedia}};

} // namespace

} // namespace trelvik::cli
