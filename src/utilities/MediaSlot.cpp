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

} // namespace trelvik::utilities
