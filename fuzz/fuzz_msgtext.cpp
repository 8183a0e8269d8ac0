// SPDX-License-Identifier: MIT
// Runs arbitrary bytes through the message-file side: language list, lookups, escapes and
// the placeholder filler that faces texts from the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "i18n/BoxPresenter.h"
#include "i18n/MessageCatalog.h"
#include "i18n/Reporter.h"
#include "text/Utf8TextCodec.h"

namespace {

using namespace trelvik;
using fuzzing::DocumentReader;
using text::Utf8TextCodec;

class CheckingPresenter final : public i18n::BoxPresenter {
public:
    int show(const i18n::BoxRequest& r) override {
        if (r.text.size() > i18n::kMaxBoxTextLength || r.title.size() > i18n::kMaxAskTitleLength ||
            r.okCaption.size() > i18n::kMaxCaptionLength || r.yesCaption.size() > i18n::kMaxCaptionLength)
            __builtin_trap();
        return 99; // not a button: must count as OK
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DocumentReader reader(bytes);
    const Utf8TextCodec codec;
    CheckingPresenter presenter;
    i18n::MessageCatalog catalog(reader, codec);
    catalog.MessageFilePath = u"fuzz.ini";
    i18n::Reporter reporter(presenter, catalog, codec);

    const std::vector<i18n::LanguageEntry> languages = catalog.readLanguageTable();
    if (languages.size() > static_cast<std::size_t>(i18n::kMaxLanguages)) __builtin_trap();
    for (const auto& language : languages)
        if (language.display_name.size() > i18n::kMaxLanguageNameLength) __builtin_trap();
    (void)i18n::ChooseLanguage(languages, 0x0407);
    if (!languages.empty()) catalog.LanguageBase = languages.back().base;

    for (int msgId : i18n::kToolMsgIds) {
        reporter.ShowMsgById(msgId, {u"medium", 7});
        if (reporter.AskMsgById(msgId, msgId + 1, static_cast<unsigned>(msgId), {7, u"x"}) != i18n::kAnswerOk)
            __builtin_trap();
    }
    // The raw bytes as a format and as a label.
    std::u16string format = text::utf8ToUtf16(bytes);
    i18n::UnescapeMsgText(format);
    const std::vector<i18n::MsgArg> args = {i18n::MsgArg(u"s"), i18n::MsgArg(1),
                                            i18n::MsgArg(std::u16string(600, u'x'))};
    if (i18n::FormatMsgText(format, args).size() > i18n::kMaxBoxTextLength) __builtin_trap();
    (void)catalog.GetLabelText(bytes);
    return 0;
}
