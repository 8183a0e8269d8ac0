// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "cmdtable/ToolMode.h"
#include "i18n/MessageCatalog.h"
#include "settings/SettingHandlers.h"
#include "settings/SettingRows.h"

namespace trelvik::shell {

// What the captions ask of the window; controls are named by objectName.
class CaptionView {
public:
    virtual ~CaptionView() = default;
    // The text a label, button, check box, group box or page tab shows.
    virtual void setControlText(std::string_view control, const std::u16string& text) = 0;
    virtual int entryCount(std::string_view list) const = 0;
    // New texts for a list's entries; the entry selected before stays selected.
    virtual void rewordList(std::string_view list, const std::vector<std::u16string>& texts) = 0;
    virtual void setUnitWords(const settings::UnitWords& words) = 0;
    // A track bar's value label written anew from its thumb, in the present unit words.
    virtual void refreshValueLabel(const settings::SettingRow& row) = 0;
};

struct CaptionSources {
    cmdtable::ToolMode toolMode;
    i18n::MessageCatalog& catalog; // a change of language sets its LanguageBase
    const cmdtable::MassCmdTable& table;
    const std::vector<i18n::LanguageEntry>& languages; // the language list's entries in order
};

// The settings tool's words for its unit labels: messages 277 and 278, at most 9 characters.
settings::UnitWords UnitWordsFromMessages(const i18n::MessageCatalog& catalog);

// Writes every text of the settings tool in the present language: the top row, the Date/Time
// page, the format lists (keeping their selections), the Settings page's names and choices
// from the command table, and the unit words with the value labels that show them. The full
// tool keeps its English layout: nothing changes there. A missing message shows its
// fallback and the rest goes on.
void ApplyCaptions(const CaptionSources& sources, CaptionView& view);

// The user picked entry `index` of the language list: its language becomes the present one
// and every caption follows. Nothing is read from the camera; values and choices stay.
void ChangeLanguage(const CaptionSources& sources, CaptionView& view, int index);

} // namespace trelvik::shell
