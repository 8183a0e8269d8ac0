// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "i18n/BoxPresenter.h"

// The message boxes of the card format and the mode change, each in both tool modes: the full
// tool shows fixed English texts, the settings tool the message file's texts by number. Kept
// as data so the window only decides which event happened.
namespace trelvik::utilities {

using i18n::kBoxError;
using i18n::kBoxInformation;
using i18n::kBoxQuestionYesNo;
using i18n::kBoxWarning;

// One box in both tool modes.
struct UtilityBox {
    std::string_view text;    // full tool; "%s" stands for the medium's name where there is one
    std::string_view caption; // full tool; empty: the default title
    unsigned flags;           // icon and buttons, in both tool modes
    int textMsgId;            // settings tool: the text's message number
    int captionMsgId;         // settings tool: 0 for the error box with the common title (ShowMsgById),
                              // else the title's message number of a box with `flags` (AskMsgById)
};

enum class MediaEvent { StatusReadFailed, NotFormattable, Question, Formatted, FormatFailed };

// The Card Format button's box for `event`.
// Example: cardFormatBox(MediaEvent::Question).caption == "Format?", textMsgId 290.
const UtilityBox& cardFormatBox(MediaEvent event);

// The Format button of the medium list speaks plain English in both tool modes: the full
// tool's forms of the Card Format boxes, and one box of its own for a list without a selection.
inline constexpr std::string_view kSelectMediumText = "Please select a medium to format!";

// The Change To PCCam button's box. Example: pcCamBox(true).caption == "Change Mode".
const UtilityBox& pcCamBox(bool changed);

// `text` with its first "%s" replaced by `name`; nothing else in either is read as a format.
// Example: withMediumName("The \"%s\" medium", "Memory Card") -> "The \"Memory Card\" medium".
std::string withMediumName(std::string_view text, std::string_view name);

} // namespace trelvik::utilities
