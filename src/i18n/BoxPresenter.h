// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace trelvik::i18n {

enum class BoxIcon { Error, Question, Warning, Information };
enum class BoxButtons { Ok, OkCancel, YesNo };

// Icon and buttons of a box as the Windows message-box flags carry them, which is also how
// PlainBox and the localized question box take them.
inline constexpr unsigned kBoxError = 0x10;         // error icon, OK
inline constexpr unsigned kBoxQuestionYesNo = 0x24; // question icon, Yes and No
inline constexpr unsigned kBoxWarning = 0x30;       // warning icon, OK
inline constexpr unsigned kBoxInformation = 0x40;   // information icon, OK

// Answers of a box, with the values of the Windows dialog results.
enum BoxAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// One modal message box. Empty captions mean the toolkit's own.
struct BoxRequest {
    std::u16string title; // empty: the application's default caption
    std::u16string text;
    BoxIcon icon = BoxIcon::Error;
    BoxButtons buttons = BoxButtons::Ok;
    std::u16string yesCaption, noCaption, okCaption, cancelCaption;
};

// Shows message boxes: QMessageBox in the tool, a recorder with scripted answers in tests,
// stderr in the command-line companion.
class BoxPresenter {
public:
    virtual ~BoxPresenter() = default;
    // Shows the box modally and returns the button pressed (kAnswerOk ... kAnswerNo);
    // a box closed any other way answers kAnswerOk.
    virtual int show(const BoxRequest& request) = 0;
};

} // namespace trelvik::i18n
