// SPDX-License-Identifier: MIT
#pragma once

#include <nlohmann/json.hpp>

#include <ostream>

namespace trelvik::cli {

// Prints one JSON document, indented, with a final newline. Texts from files and cameras
// may be any bytes: invalid UTF-8 is replaced, so printing never throws.
inline void printJson(std::ostream& out, const nlohmann::ordered_json& document) {
    out << document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

} // namespace trelvik::cli
