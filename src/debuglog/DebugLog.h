// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/DebugSink.h"

// Diagnostic lines, "QZ::" first, to whatever sink the program installed: a small library of
// its own so that every layer can write them without depending on the message library.
namespace trelvik::debuglog {

using platform::DebugSink;

// Installs the sink that DebugLog writes to; nullptr discards lines. Returns the previous sink.
DebugSink* setDebugSink(DebugSink* sink);

// Writes "QZ::" followed by the printf-formatted text as one line of at most 511 bytes
// (longer lines are cut). Format strings are the program's own, never taken from files.
// Returns the number of characters formatted behind the prefix.
// Example: DebugLog("SPTI_GetData()=%08x", 1) writes "QZ::SPTI_GetData()=00000001".
int DebugLog(const char* format, ...)
#if defined(__clang__)
    __attribute__((format(printf, 1, 2)))
#elif defined(__GNUC__)
    // gnu_printf: MinGW's "printf" checks Microsoft's runtime formats (no %zu), while the
    // C++ library there formats with its own C99 printf, as on Linux.
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;

// Collects the lines written while it lives and restores the previous sink afterwards.
class DebugCapture : public DebugSink {
public:
    DebugCapture();
    ~DebugCapture() override;
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;
    void write(std::string_view line) override;
    const std::vector<std::string>& lines() const { return m_lines; }

private:
    DebugSink* m_previous;
    std::vector<std::string> m_lines;
};

} // namespace trelvik::debuglog
