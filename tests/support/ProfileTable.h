// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "cmdtable/MassCmd.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "platform/Native.h"
#include "settings/Encodings.h"
#include "settings/SettingsProfile.h"
#include "support/Files.h"
#include "support/RecordingBoxPresenter.h"

namespace trelvik::testing {

// A command file loaded as the profile commands load it, from a copy `edit` may change first.
struct ProfileTable {
    std::unique_ptr<platform::ProfileReader> reader = platform::makeNativeProfileReader();
    std::unique_ptr<platform::TextCodec> codec = platform::makeNativeTextCodec();
    RecordingBoxPresenter boxes;
    i18n::MessageCatalog catalog{*reader, *codec};
    i18n::Reporter reporter{boxes, catalog, *codec};
    cmdtable::MassCmdTable table{*reader, reporter, cmdtable::ToolMode::Full};
    TempDir dir{"trelvik-profile-table"};

    explicit ProfileTable(const std::string& path, const std::function<void(std::string&)>& edit = nullptr) {
        std::string text = readText(path);
        if (edit) edit(text);
        writeText(dir.path() / "mass_cmd.ini", text);
        table.MassCmd_LoadTable((dir.path() / "mass_cmd.ini").string());
    }

    // Register contents a camera set up by the window could hold, by code: a choice of each
    // list, a number and a duration within the command file's range, any bytes in a text.
    std::map<int, int> randomRegisters(std::mt19937& random) const {
        using settings::SettingKind;
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        std::map<int, int> registers;
        for (const settings::SettingRow* row : settings::profileRows(table)) {
            const cmdtable::MassCmd& entry = *settings::commandEntry(table, row->code);
            const int at = row->flags & settings::kOwnRange ? pick(0, settings::kOwnRangeMax)
                                                            : pick(entry.range_min, entry.range_max);
            std::vector<std::uint8_t> bytes = settings::splitBytes(static_cast<unsigned>(at), row->width);
            if (row->kind == SettingKind::List)
                bytes = {static_cast<std::uint8_t>(entry.items[pick(0, entry.count - 1)].value)};
            if (row->kind == SettingKind::Duration && row->width == 1) bytes = {settings::recordTimeByte(at)};
            if (row->kind == SettingKind::Duration && row->width == 2)
                bytes = settings::splitBytes(settings::intervalSeconds(at), 2);
            for (int i = 0; i < row->width; ++i)
                registers[row->code + i] =
                    row->kind == SettingKind::Text ? pick(0, 0xFF) : bytes[static_cast<std::size_t>(i)];
        }
        return registers;
    }
};

} // namespace trelvik::testing
