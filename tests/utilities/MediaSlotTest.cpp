// SPDX-License-Identifier: MIT
#include "utilities/MediaSlot.h"

#include <gtest/gtest.h>

#include <string>

#include "support/CaseName.h"

namespace trelvik::utilities {
namespace {

struct SlotCase {
    std::uint8_t status;
    std::uint8_t type;
    const char* name;
    bool writeProtected;
    bool inserted;
    bool formattable;
};

class MediaSlotTest : public ::testing::TestWithParam<SlotCase> {};

TEST_P(MediaSlotTest, DecodesOneStatusByte) {
    const SlotCase& c = GetParam();
    const MediaSlot slot = decodeMediaSlot(c.status);
    EXPECT_EQ(slot.type, c.type);
    EXPECT_EQ(slot.name, c.name);
    EXPECT_EQ(slot.writeProtected, c.writeProtected);
    EXPECT_EQ(slot.inserted, c.inserted);
    EXPECT_EQ(slot.formattable, c.formattable);
}

INSTANTIATE_TEST_SUITE_P(Bytes, MediaSlotTest,
                         ::testing::Values(SlotCase{0x00, 0, "No Card", false, true, true},
                                           SlotCase{0x02, 2, "Built-in NAND Flash", false, true, true},
                                           SlotCase{0x07, 7, "CDROM Disk", false, true, true},
                                           SlotCase{0x0F, 15, "Unknown medium type 15", false, true, true},
                                           // Bit 4 alone already stops a format, though it names nothing.
                                           SlotCase{0x10, 0, "No Card", false, true, false},
                                           SlotCase{0x44, 4, "Memory Card", true, true, false},
                                           SlotCase{0x84, 4, "Memory Card", false, false, false},
                                           SlotCase{0xC5, 5, "Second SD Card", true, false, false}),
                         testing::caseNames([](const SlotCase& c) {
                             return "status" + std::to_string(c.status);
                         }));

} // namespace
} // namespace trelvik::utilities
