// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <memory>

#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "sim/CameraState.h"
#include "support/RecordingBoxPresenter.h"

namespace trelvik::sim {
namespace {

// A simulated camera fresh from the factory must show a value the sample command file can
// name in every setting, or the tool's first Load paints red rows that no real camera would.
TEST(SimFactoryValues, EveryRegisterHoldsAChoiceOfTheSampleCommandFile) {
    const auto reader = platform::makeNativeProfileReader();
    const auto codec = platform::makeNativeTextCodec();
    testing::RecordingBoxPresenter boxes;
    i18n::MessageCatalog catalog(*reader, *codec);
    i18n::Reporter reporter(boxes, catalog, *codec);
    cmdtable::MassCmdTable table(*reader, reporter, cmdtable::ToolMode::Full);
    ASSERT_EQ(table.MassCmd_LoadTable(TRELVIK_DATA_DIR "/mass_cmd.ini"), 1);
    ASSERT_GT(table.entry_count(), 0x60);

    const CameraState factory = factoryState();
    for (const cmdtable::MassCmd& entry : table.entries()) {
        const int value = factory.registers[static_cast<std::size_t>(entry.cmd_code)];
        if (factory.unsupported.count(static_cast<std::uint8_t>(entry.cmd_code)) != 0) continue;
        if (entry.count > 0)
            EXPECT_GE(table.ValueToItemIndex(entry.cmd_code, value), 0) << entry.name << " = " << value;
        else
            EXPECT_TRUE(value >= entry.range_min && value <= entry.range_max)
                << entry.name << " = " << value << " outside " << entry.range_min << "-" << entry.range_max;
        EXPECT_EQ(factory.defaults[static_cast<std::size_t>(entry.cmd_code)], value) << entry.name;
    }
    EXPECT_TRUE(boxes.requests().empty());
}

} // namespace
} // namespace trelvik::sim
