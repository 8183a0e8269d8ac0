// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cmdtable/MassCmd.h"
#include "cmdtable/ToolMode.h"
#include "i18n/MessageCatalog.h"
#include "platform/TextCodec.h"

namespace trelvik::settings {

inline constexpr std::string_view kLanguageList = "TntComboBox_Language";
inline constexpr std::string_view kDateFormatList = "TntComboBox_Date_Format";
inline constexpr std::string_view kTimeFormatList = "TntComboBox_Time_Format";
// The settings tool words the format lists with these messages and the ones after them.
inline constexpr int kMsgFirstDateFormat = 325;
inline constexpr int kMsgFirstTimeFormat = 328;

// What the binding asks of the window; every control is named by its objectName.
class BindingTarget {
public:
    virtual ~BindingTarget() = default;
    virtual void setLanguageListVisible(bool visible) = 0;
    // Entries a combo box holds now. Example: 3 for TntComboBox_Date_Format as laid out.
    virtual int entryCount(std::string_view comboBox) const = 0;
    // Replaces every entry of a combo box by `texts` in order; nothing is selected after.
    virtual void setEntries(std::string_view comboBox, const std::vector<std::u16string>& texts) = 0;
    // Sets a track bar's minimum, then its maximum. Example: ("TrackBar_CFG_AVI_RECORD_TIME", 5, 69).
    virtual void setRange(std::string_view trackBar, int minimum, int maximum) = 0;
    virtual void clearText(std::string_view edit) = 0;
};

struct BindingSources {
    const cmdtable::MassCmdTable& table;
    const i18n::MessageCatalog& catalog; // words of the settings tool's format lists
    const platform::TextCodec& codec;    // the table's narrow labels to wide text
    cmdtable::ToolMode toolMode;
};

// Gives every setting control of the tool mode what the command table says of its register:
// a combo box its code's labels, a track bar its code's range. The full tool binds its rows
// in order of code, the settings tool its Settings page from the top, after the language and
// format lists. A code the table lacks is reported by the table's lookup, once per control,
// and leaves the combo box empty and the track bar's range as it was.
void BindCommandTable(const BindingSources& sources, BindingTarget& target);

// The track bars of the tool mode's pages, in table order.
// Example: the settings tool's first is "TrackBar_CFG_CONTINUOUS_CAPTURE_COUNT_S".
std::vector<std::string> trackBarNames(cmdtable::ToolMode toolMode);

} // namespace trelvik::settings
