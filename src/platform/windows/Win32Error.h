// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace trelvik::platform {

// The system's words for a GetLastError() number, without the final full stop and line end,
// or "error N" when the system has none. Example: systemErrorText(5) -> "Access is denied"
std::string systemErrorText(unsigned long code);

} // namespace trelvik::platform
