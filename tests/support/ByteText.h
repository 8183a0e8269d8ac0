// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::testing {

// Bytes as upper-case hex pairs separated by blanks, so a failed comparison shows where it
// differs. Example: {0xFC, 0x0B} -> "FC 0B".
inline std::string hexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += pair;
    }
    return text;
}

// A signed-command reply: "QZ", the length byte, the tag, then `tail`, zero-padded to `size`
// (never cut). Example: signedReply(8, "DBUGRD", {0x12, 0x34}) -> "QZ" 08 "DBUGRD" 12 34 00...
inline std::vector<std::uint8_t> signedReply(std::uint8_t lengthByte, std::string_view tag,
                                             const std::vector<std::uint8_t>& tail = {},
                                             std::size_t size = 16) {
    std::vector<std::uint8_t> bytes{'Q', 'Z', lengthByte};
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    if (bytes.size() < size) bytes.resize(size, 0);
    return bytes;
}

} // namespace trelvik::testing
