// SPDX-License-Identifier: MIT
#include <memory>

#include "platform/Native.h"
#include "platform/TextCodec.h"
#include "text/Unicode.h"

namespace trelvik::platform {

namespace {

// On Linux the narrow text of the system is UTF-8; ill-formed input becomes U+FFFD.
class Utf8TextCodec final : public TextCodec {
public:
    std::u16string toWide(std::string_view narrow) const override { return text::utf8ToUtf16(narrow); }
    std::string toNarrow(std::u16string_view wide) const override { return text::utf16ToUtf8(wide); }
};

} // namespace

std::unique_ptr<TextCodec> makeNativeTextCodec() { return std::make_unique<Utf8TextCodec>(); }

} // namespace trelvik::platform
