// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "text/Unicode.h"

namespace trelvik::text {

// Narrow text as UTF-8, which is what Linux systems use; ill-formed input becomes U+FFFD.
// The Linux platform layer hands it out, and tests and fuzzers use it as the narrow text of
// a system that is not there.
class Utf8TextCodec final : public platform::TextCodec {
public:
    std::u16string toWide(std::string_view narrow) const override { return utf8ToUtf16(narrow); }
    std::string toNarrow(std::u16string_view wide) const override { return utf16ToUtf8(wide); }
};

} // namespace trelvik::text
