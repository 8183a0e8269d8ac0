// SPDX-License-Identifier: MIT
#include "shell/Captions.h"

#include "settings/CommandBinding.h"

namespace trelvik::shell {

namespace {

// The top row and the Date/Time page, in the order they are written.
struct Caption {
    const char* control;
    int msgId;
};
constexpr Caption kTopCaptions[] = {
    {"TntCheckBox_Camera_Auto_Connect", 256},
    {"TntButton_Connect", 257},
    {"TntButton_Load_Camera_Settings", 259},
    {"TntButton_Save_Camera_Settings", 304},
    {"TntButton_Reset_Settings", 260},
    {"TntTabSheet_DateTime", 261},
    {"TabSheet_Settings", 262},
    {"TntGroupBox_Camera_Clock", 263},
    {"TntLabel_Camera_Time", 264},
    {"TntLabel_PC_Time", 265},
    {"TntLabel_Custom_Time", 266},
};
constexpr Caption kClockCaptions[] = {
    {"TntLabel_Date_Time_Format", 267},
    {"TntButtonSetPCTime", 268},
    {"TntButtonSetCustomTime", 269},
    {"TntButton_Card_Format", 270},
};
constexpr int kMsgMinuteUnit = 277;
constexpr int kMsgSecondUnit = 278;
// The count's label is a plain number with no unit to follow the language.
constexpr int kCountCode = 0x38;

void writeCaptions(const CaptionSources& sources, CaptionView& view, std::span<const Caption> captions) {
    for (const Caption& caption : captions)
        view.setControlText(caption.control, sources.catalog.GetMsgText(caption.msgId));
}

void rewordFromMessages(const CaptionSources& sources, CaptionView& view, std::string_view list,
                        int firstMsgId) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < view.entryCount(list); ++i)
        texts.push_back(sources.catalog.GetMsgText(firstMsgId + i));
    view.rewordList(list, texts);
}

// A row whose code the table lacks keeps the words of the layout; the lookup has told the
// user which code is missing.
void captionRow(const CaptionSources& sources, CaptionView& view, const settings::SettingRow& row) {
    const int index = sources.table.MassCmd_CmdIdToCmdIndex(row.code);
    if (index < 0) return;
    const cmdtable::MassCmd& entry = sources.table.entries()[static_cast<std::size_t>(index)];
    view.setControlText(settings::captionLabelName(row), sources.catalog.GetLabelText(entry.name));
    switch (settings::valueControlOf(row.kind)) {
    case settings::ValueControl::ComboBox: {
        std::vector<std::u16string> labels;
        for (const cmdtable::MassCmdItem& item : entry.items)
            labels.push_back(sources.catalog.GetLabelText(item.label));
        view.rewordList(settings::valueControlName(row), labels);
        return;
    }
    case settings::ValueControl::TrackBar:
        if (row.code != kCountCode) view.refreshValueLabel(row);
        return;
    case settings::ValueControl::Edit:
        return;
    }
}

// Cuts to the longest word allowed, never between the two halves of a surrogate pair.
void cutUnitWord(std::u16string& word) {
    if (word.size() <= settings::kMaxUnitWordLength) return;
    std::size_t length = settings::kMaxUnitWordLength;
    if (word[length - 1] >= 0xD800 && word[length - 1] <= 0xDBFF) --length;
    word.resize(length);
}

} // namespace

settings::UnitWords UnitWordsFromMessages(const i18n::MessageCatalog& catalog) {
    settings::UnitWords words{catalog.GetMsgText(kMsgMinuteUnit), catalog.GetMsgText(kMsgSecondUnit)};
    // A longer word would run into the next control; the label has room for nine.
    cutUnitWord(words.minute);
    cutUnitWord(words.second);
    return words;
}

void ApplyCaptions(const CaptionSources& sources, CaptionView& view) {
    if (sources.toolMode != cmdtable::ToolMode::Settings) return;
    view.setUnitWords(UnitWordsFromMessages(sources.catalog));
    writeCaptions(sources, view, kTopCaptions);
    rewordFromMessages(sources, view, settings::kDateFormatList, settings::kMsgFirstDateFormat);
    rewordFromMessages(sources, view, settings::kTimeFormatList, settings::kMsgFirstTimeFormat);
    writeCaptions(sources, view, kClockCaptions);
    for (const settings::SettingRow& row : settings::settingRows())
        if (settings::shownInSettingsTool(row)) captionRow(sources, view, row);
}

void ChangeLanguage(const CaptionSources& sources, CaptionView& view, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= sources.languages.size()) return;
    sources.catalog.LanguageBase = sources.languages[static_cast<std::size_t>(index)].base;
    ApplyCaptions(sources, view);
}

} // namespace trelvik::shell
