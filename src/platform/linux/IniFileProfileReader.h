// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/ProfileReader.h"
#include "profile/ProfileDocument.h"

namespace trelvik::platform {

// The Linux profile reader: our own parser with the Windows rules, over files read with the
// C++ library. Each file is parsed once and kept while its identity, size and times stay
// the same, so the thousands of start-up lookups do not reparse it; a changed file is
// reread on the next lookup, as the Windows calls do.
class IniFileProfileReader final : public ProfileReader {
public:
    // Narrow names and path are UTF-8; the value comes back as UTF-8 (a UTF-16 or
    // Windows-1252 file converts) cut to at most bufferSize - 1 bytes at a character boundary.
    std::string getString(const std::string& path, std::string_view section, std::string_view key,
                          std::size_t bufferSize) const override;
    // The path converts to UTF-8; the value is cut to at most bufferSize - 1 UTF-16 units.
    std::u16string getStringW(const std::u16string& path, std::u16string_view section,
                              std::u16string_view key, std::size_t bufferSize) const override;

    // The parsed document of `path`, from the cache when the file is unchanged; an empty
    // document when the file is missing, unreadable or not a regular file. Never null.
    std::shared_ptr<const profile::ProfileDocument> document(const std::string& path) const;

private:
    struct FileStamp {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0, changedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct CacheEntry {
        FileStamp stamp;
        std::shared_ptr<const profile::ProfileDocument> document;
    };

    mutable std::mutex m_mutex;
    mutable std::map<std::string, CacheEntry> m_cache;
};

} // namespace trelvik::platform
