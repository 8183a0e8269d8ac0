// SPDX-License-Identifier: MIT
#include "text/Utf8TextCodec.h"

#include <memory>

#include "platform/Native.h"

namespace trelvik::platform {

std::unique_ptr<TextCodec> makeNativeTextCodec() {
    return std::make_unique<text::Utf8TextCodec>();
}

} // namespace trelvik::platform
