// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"
#include "settings/json/ApplyReportJson.h"
#include "text/Unicode.h"

namespace trelvik::cli {

// JSON is UTF-8 on every system, while narrow text is the system's own: UTF-8 on Linux, the
// ANSI code page on Windows. Example: jsonText(codec, "Gr\xFC\xDF") -> "Gr\xC3\xBC\xC3\x9F" (Windows-1252)
inline std::string jsonText(const platform::TextCodec& codec, std::string_view narrow) {
    return text::utf16ToUtf8(codec.toWide(narrow));
}

// Prints one JSON document, indented, with a final newline. Texts from files and cameras
// may be any bytes: invalid UTF-8 is replaced, so printing never throws.
inline void printJson(std::ostream& out, const nlohmann::ordered_json& document) {
    out << settings::jsonDocument(document);
}

} // namespace trelvik::cli
