// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "sim/CameraState.h"

// The state file's JSON form. Every member is optional on input; a missing member keeps the
// factory value, except that codes missing from a present "registers" or "defaults" object
// read as 0. Output always carries every member (registers 0x00 to 0x68, and any other code
// that is not 0).
namespace trelvik::sim {

// Parses `text` into `state`. Invalid JSON, JSON nested deeper than 64 levels, or a member of
// the wrong type or range: returns false with a message naming the member in `error`, and
// leaves `state` unspecified. Unknown members, at the top and inside "faults", are kept.
// Example: parseState(R"({"registers": {"0x01": 300}})", s, e) -> false, e = "registers.0x01: ..."
bool parseState(const std::string& text, CameraState& state, std::string& error);

// Writes `state` as pretty-printed JSON, members in a fixed order, ending with a line feed.
std::string formatState(const CameraState& state);

} // namespace trelvik::sim
