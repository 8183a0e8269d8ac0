// SPDX-License-Identifier: MIT
#include "debuglog/DebugLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace trelvik::debuglog {

namespace {
// A logger is the one piece of process-wide state we keep: every layer writes to it
// and swapping the sink is how tests read what was written.
std::atomic<DebugSink*> g_sink{nullptr};
constexpr std::size_t kLineSize = 512;
constexpr char kPrefix[] = "QZ::";
} // namespace

DebugSink* setDebugSink(DebugSink* sink) {
    return g_sink.exchange(sink);
}

int DebugLog(const char* format, ...) {
    char line[kLineSize];
    constexpr std::size_t prefixLength = sizeof(kPrefix) - 1;
    std::memcpy(line, kPrefix, prefixLength);
    va_list args;
    va_start(args, format);
    const int formatted = std::vsnprintf(line + prefixLength, kLineSize - prefixLength, format, args);
    va_end(args);
    if (formatted < 0) return formatted;
    const std::size_t length = std::strlen(line);
    if (DebugSink* sink = g_sink.load()) sink->write(std::string_view(line, length));
    return formatted;
}

DebugCapture::DebugCapture() : m_previous(setDebugSink(this)) {}
DebugCapture::~DebugCapture() {
    setDebugSink(m_previous);
}
void DebugCapture::write(std::string_view line) {
    m_lines.emplace_back(line);
}

} // namespace trelvik::debuglog
