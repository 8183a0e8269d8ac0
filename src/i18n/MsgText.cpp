// SPDX-License-Identifier: MIT
#include <string>

#include "i18n/Reporter.h"

namespace trelvik::i18n {

void UnescapeMsgText(std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\\') {
            out.push_back(c);
            continue;
        }
        if (i + 1 == text.size()) break; // a lone backslash at the end is dropped
        const char16_t next = text[++i];
        switch (next) {
        case u'n':
            out.push_back(u'\n');
            break;
        case u'r':
            out.push_back(u'\r');
            break;
        case u't':
            out.push_back(u'\t');
            break;
        case u'\\':
            out.push_back(u'\\');
            break;
        default:
            out.push_back(u'\\');
            out.push_back(next);
            break;
        }
    }
    text = std::move(out);
}

namespace {
// Appends up to the box limit, so a hostile text with many long arguments stays small.
class BoundedText {
public:
    void append(std::u16string_view part) {
        if (m_text.size() > kMaxBoxTextLength) return;
        m_text.append(part.substr(0, kMaxBoxTextLength + 1 - m_text.size()));
    }
    void append(char16_t c) { append(std::u16string_view(&c, 1)); }
    bool full() const { return m_text.size() > kMaxBoxTextLength; }
    std::u16string take() {
        cutText(m_text, kMaxBoxTextLength);
        return std::move(m_text);
    }

private:
    std::u16string m_text; // holds at most one unit beyond the limit, to cut pairs cleanly
};
} // namespace

std::u16string FormatMsgText(std::u16string_view format, std::span<const MsgArg> args) {
    BoundedText out;
    std::size_t nextArg = 0;
    for (std::size_t i = 0; i < format.size() && !out.full(); ++i) {
        const char16_t c = format[i];
        if (c != u'%' || i + 1 == format.size()) {
            out.append(c);
            continue;
        }
        const char16_t conversion = format[i + 1];
        if (conversion == u'%') {
            out.append(u'%');
            ++i;
        } else if (conversion == u's' || conversion == u'd') {
            ++i;
            const MsgArg* arg = nextArg < args.size() ? &args[nextArg++] : nullptr;
            if (arg && conversion == u's' && arg->isText()) {
                out.append(arg->text());
            } else if (arg && conversion == u'd' && arg->isNumber()) {
                const std::string digits = std::to_string(arg->number());
                out.append(std::u16string(digits.begin(), digits.end()));
            } else {
                out.append(u'%');
                out.append(conversion);
            }
        } else {
            // Not one of ours: the percent sign shows and the rest follows as plain text.
            out.append(c);
        }
    }
    return out.take();
}

} // namespace trelvik::i18n
