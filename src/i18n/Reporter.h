// SPDX-License-Identifier: MIT
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "i18n/BoxPresenter.h"
#include "i18n/MessageCatalog.h"
#include "platform/TextCodec.h"

namespace trelvik::i18n {

// Longest texts a box shows, in UTF-16 units; longer ones are cut.
inline constexpr std::size_t kMaxBoxTextLength = 511;
inline constexpr std::size_t kMaxShowTitleLength = 23;
inline constexpr std::size_t kMaxAskTitleLength = 39;
inline constexpr std::size_t kMaxCaptionLength = 23;

// Message numbers of the box furniture.
inline constexpr int kMsgYes = 320;
inline constexpr int kMsgNo = 321;
inline constexpr int kMsgOk = 322;
inline constexpr int kMsgCancel = 323;
inline constexpr int kMsgShowTitle = 324;

// One argument of a localized box: a wide string for "%s" or an integer for "%d".
class MsgArg {
public:
    MsgArg(std::u16string text) : m_value(std::move(text)) {}
    MsgArg(std::u16string_view text) : m_value(std::u16string(text)) {}
    MsgArg(const char16_t* text) : m_value(std::u16string(text)) {}
    MsgArg(int number) : m_value(number) {}

    bool isText() const { return std::holds_alternative<std::u16string>(m_value); }
    bool isNumber() const { return std::holds_alternative<int>(m_value); }
    // Only valid for the matching kind.
    const std::u16string& text() const { return std::get<std::u16string>(m_value); }
    int number() const { return std::get<int>(m_value); }

private:
    std::variant<std::u16string, int> m_value;
};

// Turns the escapes \n, \r, \t and \\ of a box text into their characters, in place. A
// backslash before any other character stays with it; a lone backslash at the end is dropped.
// Example: u"a\\nb\\x" -> u"a\nb\\x".
void UnescapeMsgText(std::u16string& text);

// Fills a message text, which comes from a file and is therefore untrusted. Only "%s",
// "%d" and "%%" are placeholders; "%s" and "%d" each take the next argument and show
// it when its kind fits, else show themselves literally (the argument is still used up).
// Any other "%" sequence (%n, %x, %5s, a "%" at the end) and placeholders beyond the
// arguments show literally; surplus arguments are ignored. Cut to 511 units.
// Example: (u"%d%% of %s", {42, u"SD"}) -> u"42% of SD".
std::u16string FormatMsgText(std::u16string_view format, std::span<const MsgArg> args);

// The tool's three kinds of message box, all shown through one presenter.
class Reporter {
public:
    Reporter(BoxPresenter& presenter, const MessageCatalog& catalog, const platform::TextCodec& codec);

    // Plain error box with a narrow text of the program's own (printf format, never from a
    // file): error icon, OK button, the default title; the text is cut to 511 units.
    // Example: ErrorBox("Section [%s] does not have \"%s\" key value", "Mass_Cmd_00", "cmd").
    void ErrorBox(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // Plain box of the program's own, for the boxes that carry a caption or an icon other
    // than ErrorBox's: `text` is shown as it stands (it is never a format, so a "%" in it, or
    // in a user's text inside it, stays a "%"), cut to 511 units; `caption` empty gives the
    // default title. Icon and buttons come from `flags` as for AskMsgById, and so does the
    // answer. Example: PlainBox("Change to PCCam mode successfully!", "Change Mode", 0x40) -> 1.
    int PlainBox(std::string_view text, std::string_view caption, unsigned flags);

    // Localized box with the text of `msgId` (escapes applied, then filled with `args`),
    // error icon, an OK button, title message 324 and the captions 320 to 323.
    // Example: ShowMsgById(282, {0x38}).
    void ShowMsgById(int msgId, std::initializer_list<MsgArg> args = {});

    // Localized question box: title message `captionMsgId`, text `textMsgId`, icon from
    // flags & 0xF0 (0x10 error, 0x20 question, 0x30 warning, else information), buttons from
    // flags & 0x0F (1 OK/Cancel, 4 Yes/No, else OK). Returns 1 OK, 2 Cancel, 6 Yes or 7 No;
    // any other answer of the presenter counts as 1. Example: AskMsgById(285, 286, 0x24) -> 6.
    int AskMsgById(int captionMsgId, int textMsgId, unsigned flags, std::initializer_list<MsgArg> args = {});

    // The message text of a localized box, as ShowMsgById and AskMsgById build it.
    std::u16string buildMsgText(int msgId, std::span<const MsgArg> args) const;

private:
    // Adds the localized button captions to `request`.
    void addCaptions(BoxRequest& request) const;

    BoxPresenter& m_presenter;
    const MessageCatalog& m_catalog;
    const platform::TextCodec& m_codec;
};

// The icon and buttons that AskMsgById derives from its flags.
BoxIcon askIcon(unsigned flags);
BoxButtons askButtons(unsigned flags);

} // namespace trelvik::i18n
