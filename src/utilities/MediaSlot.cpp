// SPDX-License-Identifier: MIT
#include "utilities/MediaSlot.h"

namespace trelvik::utilities {

MediaSlot decodeMediaSlot(std::uint8_t status) {
    MediaSlot slot;
    slot.type = status & kTypeMask;
    slot.name = slot.type < MediumTypeNames.size() ? std::string(MediumTypeNames[slot.type])
                                                   : "Unknown medium type " + std::to_string(slot.type);
    slot.writeProtected = (status & kProtectedBit) != 0;
    slot.inserted = (status & kNotInsertedBit) == 0;
    slot.formattable = status < kFirstUnformattableStatus;
    return slot;
}

std::vector<MediumRow> mediumRows(const CardStatusBytes& status) {
    std::vector<MediumRow> rows;
    for (std::size_t index = 0; index < status.size(); ++index) {
        const MediaSlot slot = decodeMediaSlot(status[index]);
        if (slot.type == 0) continue;
        rows.push_back({static_cast<int>(index), slot.name, slot.writeProtected ? "Yes" : "No",
                        slot.inserted ? "Yes" : "No"});
    }
    return rows;
}

} // namespace trelvik::utilities
