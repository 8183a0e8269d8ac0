// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace trelvik::platform {

// Where diagnostic lines go: stderr on Linux, the debugger output on Windows, a buffer in tests.
class DebugSink {
public:
    virtual ~DebugSink() = default;
    // Receives one complete line, prefix included, exactly as formatted (no newline added).
    virtual void write(std::string_view line) = 0;
};

} // namespace trelvik::platform
