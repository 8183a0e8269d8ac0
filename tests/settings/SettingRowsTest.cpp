// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "settings/SettingRows.h"

namespace trelvik::settings {
namespace {

// Every register from 0x00 to 0x68 belongs to exactly one setting of the full tool, except
// the three no control shows; a register shown twice names its other control, and that
// control exists.
TEST(RegisterMap, CoversEveryCodeOnceAndNamesEachSecondControl) {
    std::string uncovered;
    for (int code = 0x00; code <= 0x69; ++code)
        if (!rowOfRegister(code)) uncovered += std::to_string(code) + " ";
    EXPECT_EQ(uncovered, "36 37 38 105 ");
    EXPECT_EQ(rowOfRegister(0x37)->name, "HC_DOWN_COUNT");
    EXPECT_EQ(rowOfRegister(0x5D)->name, "SERIAL_NUMBER");

    std::set<std::string> settingsPage;
    for (const SettingRow& row : settingRows())
        if (row.page == Page::Settings) settingsPage.insert(valueControlName(row));
    std::set<std::string> named;
    for (const SettingRow& row : settingRows()) {
        if (row.page == Page::Settings || row.secondControl.empty()) continue;
        const std::string second(row.secondControl);
        named.insert(second);
        if (second.find("_Format") == std::string::npos)
            EXPECT_EQ(rowOfRegister(row.code)->kind, row.kind) << second;
    }
    settingsPage.insert("TntComboBox_Time_Format");
    settingsPage.insert("TntComboBox_Date_Format");
    EXPECT_EQ(named, settingsPage);
}

} // namespace
} // namespace trelvik::settings
