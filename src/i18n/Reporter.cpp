// SPDX-License-Identifier: MIT
#include "i18n/Reporter.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace trelvik::i18n {

Reporter::Reporter(BoxPresenter& presenter, const MessageCatalog& catalog, const platform::TextCodec& codec)
    : m_presenter(presenter), m_catalog(catalog), m_codec(codec) {}

void Reporter::ErrorBox(const char* format, ...) {
    // Format whole, then cut in wide units, so a multi-byte character is never split.
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string narrow;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        narrow.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);

    BoxRequest request;
    request.text = m_codec.toWide(narrow);
    cutText(request.text, kMaxBoxTextLength);
    request.icon = BoxIcon::Error;
    request.buttons = BoxButtons::Ok;
    m_presenter.show(request);
}

std::u16string Reporter::buildMsgText(int msgId, std::span<const MsgArg> args) const {
    std::u16string text = m_catalog.GetMsgText(msgId);
    UnescapeMsgText(text);
    return FormatMsgText(text, args);
}

void Reporter::addCaptions(BoxRequest& request) const {
    const auto caption = [this](int msgId) {
        std::u16string text = m_catalog.GetMsgText(msgId);
        cutText(text, kMaxCaptionLength);
        return text;
    };
    request.yesCaption = caption(kMsgYes);
    request.noCaption = caption(kMsgNo);
    request.okCaption = caption(kMsgOk);
    request.cancelCaption = caption(kMsgCancel);
}

void Reporter::ShowMsgById(int msgId, std::initializer_list<MsgArg> args) {
    BoxRequest request;
    request.text = buildMsgText(msgId, std::span<const MsgArg>(args.begin(), args.size()));
    request.title = m_catalog.GetMsgText(kMsgShowTitle);
    cutText(request.title, kMaxShowTitleLength);
    request.icon = BoxIcon::Error;
    request.buttons = BoxButtons::Ok;
    addCaptions(request);
    m_presenter.show(request);
}

BoxIcon askIcon(unsigned flags) {
    switch (flags & 0xF0u) {
    case 0x10u:
        return BoxIcon::Error;
    case 0x20u:
        return BoxIcon::Question;
    case 0x30u:
        return BoxIcon::Warning;
    default:
        return BoxIcon::Information;
    }
}

BoxButtons askButtons(unsigned flags) {
    switch (flags & 0x0Fu) {
    case 1u:
        return BoxButtons::OkCancel;
    case 4u:
        return BoxButtons::YesNo;
    default:
        return BoxButtons::Ok;
    }
}

namespace {
// Only the four answers a box can give pass; a box closed some other way said OK.
int knownAnswer(int answer) {
    switch (answer) {
    case kAnswerOk:
    case kAnswerCancel:
    case kAnswerYes:
    case kAnswerNo:
        return answer;
    default:
        return kAnswerOk;
    }
}
} // namespace

int Reporter::PlainBox(std::string_view text, std::string_view caption, unsigned flags) {
    BoxRequest request;
    request.text = m_codec.toWide(text);
    cutText(request.text, kMaxBoxTextLength);
    request.title = m_codec.toWide(caption);
    request.icon = askIcon(flags);
    request.buttons = askButtons(flags);
    return knownAnswer(m_presenter.show(request));
}

int Reporter::AskMsgById(int captionMsgId, int textMsgId, unsigned flags,
                         std::initializer_list<MsgArg> args) {
    BoxRequest request;
    request.title = m_catalog.GetMsgText(captionMsgId);
    cutText(request.title, kMaxAskTitleLength);
    request.text = buildMsgText(textMsgId, std::span<const MsgArg>(args.begin(), args.size()));
    request.icon = askIcon(flags);
    request.buttons = askButtons(flags);
    addCaptions(request);
    return knownAnswer(m_presenter.show(request));
}

} // namespace trelvik::i18n
