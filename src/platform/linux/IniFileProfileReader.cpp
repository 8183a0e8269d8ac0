// SPDX-License-Identifier: MIT
#include "platform/linux/IniFileProfileReader.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "platform/Native.h"
#include "text/Unicode.h"

namespace trelvik::platform {

namespace {

// The tool reads two files; a few more entries cover tests and the CLI without letting
// the cache grow with every path ever asked for.
constexpr std::size_t kMaxCachedFiles = 8;

std::int64_t nanoseconds(const struct timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

} // namespace

std::shared_ptr<const profile::ProfileDocument>
IniFileProfileReader::document(const std::string& path) const {
    static const auto kEmpty = std::make_shared<const profile::ProfileDocument>();

    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::lock_guard lock(m_mutex);
        m_cache.erase(path);
        return kEmpty;
    }
    const FileStamp stamp{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                          static_cast<std::uint64_t>(info.st_size), nanoseconds(info.st_mtim),
                          nanoseconds(info.st_ctim)};
    {
        const std::lock_guard lock(m_mutex);
        const auto it = m_cache.find(path);
        if (it != m_cache.end() && it->second.stamp == stamp) return it->second.document;
    }

    // Parse outside the lock. The stamp was taken before reading, so a file changed while
    // we read shows a newer stamp next time and is read again.
    const auto bytes = readWholeFile(path);
    if (!bytes) return kEmpty;
    auto parsed = std::make_shared<const profile::ProfileDocument>(*bytes);

    const std::lock_guard lock(m_mutex);
    if (m_cache.size() >= kMaxCachedFiles && m_cache.find(path) == m_cache.end())
        m_cache.erase(m_cache.begin());
    m_cache[path] = CacheEntry{stamp, parsed};
    return parsed;
}

std::string IniFileProfileReader::getString(const std::string& path, std::string_view section,
                                            std::string_view key, std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    return document(path)->getString(section, key, bufferSize);
}

std::u16string IniFileProfileReader::getStringW(const std::u16string& path, std::u16string_view section,
                                                std::u16string_view key, std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    return document(text::utf16ToUtf8(path))->getStringW(section, key, bufferSize);
}

std::unique_ptr<ProfileReader> makeNativeProfileReader() {
    return std::make_unique<IniFileProfileReader>();
}

} // namespace trelvik::platform
