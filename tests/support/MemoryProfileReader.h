// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileReader.h"
#include "profile/ProfileDocument.h"
#include "text/Unicode.h"

namespace trelvik::testing {

// A profile reader over files held in memory, parsed with the real profile rules, that
// records every lookup so tests can check sections, keys and buffer sizes.
class MemoryProfileReader : public platform::ProfileReader {
public:
    struct Lookup {
        std::string path, section, key; // UTF-8
        std::size_t bufferSize = 0;
        bool wide = false;
    };

    // Adds or replaces the file at `path` with the raw `bytes`.
    void setFile(const std::string& path, std::string_view bytes) {
        m_files.insert_or_assign(path, profile::ProfileDocument(bytes));
    }

    std::string getString(const std::string& path, std::string_view section, std::string_view key,
                          std::size_t bufferSize) const override {
        m_lookups.push_back({path, std::string(section), std::string(key), bufferSize, false});
        const auto it = m_files.find(path);
        return it == m_files.end() ? std::string() : it->second.getString(section, key, bufferSize);
    }

    std::u16string getStringW(const std::u16string& path, std::u16string_view section,
                              std::u16string_view key, std::size_t bufferSize) const override {
        const std::string narrowPath = text::utf16ToUtf8(path);
        m_lookups.push_back(
            {narrowPath, text::utf16ToUtf8(section), text::utf16ToUtf8(key), bufferSize, true});
        const auto it = m_files.find(narrowPath);
        return it == m_files.end() ? std::u16string() : it->second.getStringW(section, key, bufferSize);
    }

    const std::vector<Lookup>& lookups() const { return m_lookups; }
    void clearLookups() { m_lookups.clear(); }

private:
    std::map<std::string, profile::ProfileDocument> m_files;
    mutable std::vector<Lookup> m_lookups;
};

} // namespace trelvik::testing
