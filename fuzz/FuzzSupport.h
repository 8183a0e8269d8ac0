// SPDX-License-Identifier: MIT
// What the fuzzers over the file readers share: a profile reader over the fuzzer's bytes
// (no file on disk, so every input is read as it is).
#pragma once

#include <string>
#include <string_view>

#include "platform/ProfileReader.h"
#include "profile/ProfileDocument.h"

namespace trelvik::fuzzing {

class DocumentReader final : public platform::ProfileReader {
public:
    explicit DocumentReader(std::string_view bytes) : m_document(bytes) {}
    std::string getString(const std::string&, std::string_view section, std::string_view key,
                          std::size_t bufferSize) const override {
        return m_document.getString(section, key, bufferSize);
    }
    std::u16string getStringW(const std::u16string&, std::u16string_view section, std::u16string_view key,
                              std::size_t bufferSize) const override {
        return m_document.getStringW(section, key, bufferSize);
    }

private:
    profile::ProfileDocument m_document;
};

} // namespace trelvik::fuzzing
