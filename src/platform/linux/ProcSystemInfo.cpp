// SPDX-License-Identifier: MIT
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/Native.h"
#include "platform/linux/LocaleLangId.h"

namespace trelvik::platform {

namespace {

class ProcSystemInfo final : public SystemInfo {
public:
    std::uint16_t systemLangId() const override {
        return linux_impl::LangIdFromLocaleName(linux_impl::MessagesLocaleName());
    }

    std::optional<std::string> executablePath() const override {
        // /proc/self/exe is the real path: a symlinked launcher still finds the files
        // that lie beside the executable itself.
        std::string buffer(PATH_MAX, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
        if (length <= 0) return std::nullopt;
        buffer.resize(static_cast<std::size_t>(length));
        return buffer;
    }

    bool fileExists(const std::string& path) const override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    }

    char pathSeparator() const override { return '/'; }
};

class StderrDebugSink final : public platform::DebugSink {
public:
    void write(std::string_view line) override {
        // A debugger shows each line as an entry of its own; on a terminal a line that does
        // not end in a newline would run into the next one.
        std::fwrite(line.data(), 1, line.size(), stderr);
        if (line.empty() || line.back() != '\n') std::fputc('\n', stderr);
        std::fflush(stderr);
    }
};

} // namespace

std::unique_ptr<SystemInfo> makeNativeSystemInfo() {
    return std::make_unique<ProcSystemInfo>();
}
std::unique_ptr<platform::DebugSink> makeNativeDebugSink() {
    return std::make_unique<StderrDebugSink>();
}

} // namespace trelvik::platform
