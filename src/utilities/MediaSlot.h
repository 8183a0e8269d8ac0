// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the camera says about one of its media slots in one status byte, so the command line and
// the window name a medium and judge a format alike.
namespace trelvik::utilities {

inline constexpr std::uint8_t kTypeMask = 0x0F;       // medium type; 0 = no medium in the slot
inline constexpr std::uint8_t kProtectedBit = 0x40;   // write-protected
inline constexpr std::uint8_t kNotInsertedBit = 0x80; // no card inserted
// A status byte from here on has one of the upper four bits set, and the camera refuses to
// format such a medium.
inline constexpr std::uint8_t kFirstUnformattableStatus = 16;

// Display names by medium type, as the tool shows them.
inline constexpr std::array<std::string_view, 8> MediumTypeNames{
    "No Card",        "Compact Flash", "Built-in NAND Flash", "SDRAM Disk", "Memory Card",
    "Second SD Card", "XD Card",       "CDROM Disk"};

struct MediaSlot {
    std::uint8_t type = 0; // bits 0-3. Example: 4
    std::string name;      // Example: "Memory Card"; "Unknown medium type 9" past the table
    bool writeProtected = false;
    bool inserted = false;
    bool formattable = false;
};

// Example: 0x44 -> {4, "Memory Card", protected, inserted, not formattable}.
MediaSlot decodeMediaSlot(std::uint8_t status);

// The status bytes of media slots 0 to 3, as one status read delivers them.
using CardStatusBytes = std::array<std::uint8_t, 4>;

// One row of the medium list, its columns as shown.
struct MediumRow {
    int slot = 0;             // 0-3, the first column in decimal
    std::string name;         // Example: "Memory Card"
    std::string writeProtect; // "Yes" or "No"
    std::string inserted;     // "Yes" or "No"
};

// A row for each slot whose byte names a medium type (type 0 is an empty slot), in slot order.
// Example: {0x00, 0x42, 0x00, 0x00} -> {{1, "Built-in NAND Flash", "Yes", "Yes"}}.
std::vector<MediumRow> mediumRows(const CardStatusBytes& status);

} // namespace trelvik::utilities
