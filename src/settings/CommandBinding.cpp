// SPDX-License-Identifier: MIT
#include "settings/CommandBinding.h"

#include "settings/SettingRows.h"

namespace trelvik::settings {

namespace {

bool inToolMode(const SettingRow& row, cmdtable::ToolMode toolMode) {
    return shownInSettingsTool(row) == (toolMode == cmdtable::ToolMode::Settings);
}

// The layout fixes how many formats a list offers and in which order; the message file
// only words them.
void wordFromMessages(const BindingSources& sources, BindingTarget& target, std::string_view list,
                      int firstMsgId) {
    const int count = target.entryCount(list);
    std::vector<std::u16string> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(sources.catalog.GetMsgText(firstMsgId + i));
    target.setEntries(list, texts);
}

void bindRow(const BindingSources& sources, BindingTarget& target, const SettingRow& row) {
    const std::string control = valueControlName(row);
    switch (valueControlOf(row.kind)) {
    case ValueControl::ComboBox: {
        const int index = sources.table.MassCmd_CmdIdToCmdIndex(row.code);
        std::vector<std::u16string> labels;
        if (index >= 0) {
            const cmdtable::MassCmd& entry = sources.table.entries()[static_cast<std::size_t>(index)];
            for (const cmdtable::MassCmdItem& item : entry.items)
                labels.push_back(sources.codec.toWide(item.label));
        }
        target.setEntries(control, labels);
        return;
    }
    case ValueControl::TrackBar: {
        if (row.flags & kOwnRange) {
            target.setRange(control, 0, kOwnRangeMax);
            return;
        }
        // A multi-register number takes its range from its first register's entry.
        const int index = sources.table.MassCmd_CmdIdToCmdIndex(row.code);
        if (index < 0) return;
        const cmdtable::MassCmd& entry = sources.table.entries()[static_cast<std::size_t>(index)];
        target.setRange(control, entry.range_min, entry.range_max);
        return;
    }
    case ValueControl::Edit:
        // A text setting has no entry of its own in the table; it starts empty.
        target.clearText(control);
        return;
    }
}

} // namespace

void BindCommandTable(const BindingSources& sources, BindingTarget& target) {
    const bool settingsTool = sources.toolMode == cmdtable::ToolMode::Settings;
    target.setLanguageListVisible(settingsTool);
    if (settingsTool) {
        wordFromMessages(sources, target, kDateFormatList, kMsgFirstDateFormat);
        wordFromMessages(sources, target, kTimeFormatList, kMsgFirstTimeFormat);
    }
    for (const SettingRow& row : settingRows())
        if (inToolMode(row, sources.toolMode)) bindRow(sources, target, row);
}

std::vector<std::string> trackBarNames(cmdtable::ToolMode toolMode) {
    std::vector<std::string> names;
    for (const SettingRow& row : settingRows())
        if (inToolMode(row, toolMode) && valueControlOf(row.kind) == ValueControl::TrackBar)
            names.push_back(valueControlName(row));
    return names;
}

} // namespace trelvik::settings
