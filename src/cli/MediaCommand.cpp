// SPDX-License-Identifier: MIT
#include <array>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/JsonOutput.h"
#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

// What each status byte of a media slot says.
constexpr std::uint8_t kTypeMask = 0x0F;       // medium type; 0 = no medium in the slot
constexpr std::uint8_t kProtectedBit = 0x40;   // write-protected
constexpr std::uint8_t kNotInsertedBit = 0x80; // no card inserted

// Display names by medium type, as the tool shows them.
constexpr const char* kMediumTypeNames[] = {"No Card",    "Compact Flash",  "Built-in NAND Flash", "SDRAM Disk",
                                            "Memory Card", "Second SD Card", "XD Card",             "CDROM Disk"};

std::string mediumName(std::uint8_t type) {
    if (type < std::size(kMediumTypeNames)) return kMediumTypeNames[type];
    return "Unknown medium type " + std::to_string(type);
}

int runMedia(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 0, "media", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;
    std::array<std::uint8_t, 4> status{};
    if (link::ReadCardStatus(session.disk(), status) != link::Status::Ok) {
        err << "trelvik-cli: Fail to query card status!\n";
        return kExitCameraFailed;
    }
    nlohmann::ordered_json media = nlohmann::ordered_json::array();
    for (std::size_t slot = 0; slot < status.size(); ++slot) {
        const std::uint8_t s = status[slot];
        if ((s & kTypeMask) == 0) continue; // an empty slot gets no row
        media.push_back({{"slot", slot},
                         {"name", mediumName(s & kTypeMask)},
                         {"protected", (s & kProtectedBit) != 0},
                         {"inserted", (s & kNotInsertedBit) == 0}});
    }
    nlohmann::ordered_json result;
    result["status"] = status;
    result["media"] = std::move(media);
    printJson(out, result);
    return kExitOk;
}

const Registrar kRegistrar{
    {"media", "media [--simulate[=STATE.json]]",
     std::string("Reads the status bytes of the four media slots and lists the slots that hold a medium:\n"
                 "{\"status\": [4 bytes], \"media\": [{\"slot\", \"name\", \"protected\", \"inserted\"}]}.\n"
                 "Bits 0-3 of a status byte are the medium type, bit 6 write protection, bit 7 no card\n"
                 "inserted; a byte of 16 or more cannot be formatted.\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runMedia}};

} // namespace

} // namespace trelvik::cli
