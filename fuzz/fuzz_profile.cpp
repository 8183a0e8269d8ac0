// SPDX-License-Identifier: MIT
// Arbitrary bytes as a profile file: parsing, lookups and both truncations must neither
// crash nor answer something that breaks the callers' limits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profile/ProfileDocument.h"
#include "text/Unicode.h"

using namespace trelvik;

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const profile::ProfileDocument doc(bytes);

    // Names taken from the input itself reach real sections and keys now and then.
    const std::string_view head = bytes.substr(0, std::min<std::size_t>(size, 12));
    const std::string_view names[] = {"", "s", "k", head, head.substr(head.size() / 2)};
    const std::size_t buffers[] = {0, 1, 3, 256};
    for (const std::string_view section : names)
        for (const std::string_view key : names) {
            const auto value = doc.lookup(text::utf8ToUtf16(section), text::utf8ToUtf16(key));
            const std::string full = value ? text::utf16ToUtf8(*value) : std::string();
            for (const std::size_t buffer : buffers) {
                const std::string narrow = doc.getString(section, key, buffer);
                const std::u16string wide =
                    doc.getStringW(text::utf8ToUtf16(section), text::utf8ToUtf16(key), buffer);
                check(narrow.size() + 1 <= std::max<std::size_t>(buffer, 1));
                check(wide.size() + 1 <= std::max<std::size_t>(buffer, 1));
                check(text::isValidUtf8(narrow));
                if (!value) {
                    check(narrow.empty() && wide.empty());
                } else {
                    check(value->compare(0, wide.size(), wide) == 0);
                    check(full.compare(0, narrow.size(), narrow) == 0);
                }
            }
        }

    // The conversions on their own.
    const std::u16string wide = text::utf8ToUtf16(bytes);
    const std::string back = text::utf16ToUtf8(wide);
    check(text::isValidUtf8(back));
    if (text::isValidUtf8(bytes)) check(back == bytes);
    for (std::size_t max = 0; max <= std::min<std::size_t>(size, 16); ++max)
        check(text::cutUtf8(bytes, max).size() <= max);
    return 0;
}
