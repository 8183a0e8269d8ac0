// SPDX-License-Identifier: MIT
#include "cmdtable/MassCmd.h"

#include <cstdio>
#include <limits>

namespace trelvik::cmdtable {

namespace {
constexpr std::size_t kReadBufferSize = 256;

bool isCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads [sign] digits at `pos` after white space, saturating to 32 bits. Returns false,
// leaving `pos` where it was, when there are no digits.
bool scanDecimal(std::string_view text, std::size_t& pos, std::int32_t& value) {
    std::size_t i = pos;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !isDigit(text[i])) return false;
    // Magnitude in 64 bits, capped just past the 32-bit range so it cannot overflow.
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kCap) magnitude = kCap;
    }
    std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        signedValue = std::numeric_limits<std::int32_t>::max();
    value = static_cast<std::int32_t>(signedValue);
    pos = i;
    return true;
}

std::string sectionName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "Mass_Cmd_%02X", static_cast<unsigned>(index));
    return name;
}
} // namespace

void TrimIniValue(std::string& text) {
    const std::size_t semicolon = text.rfind(';');
    if (semicolon != std::string::npos) text.erase(semicolon);
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    text.erase(end);
}

std::int32_t parseAtol(std::string_view text) {
    std::size_t pos = 0;
    std::int32_t value = 0;
    return scanDecimal(text, pos, value) ? value : 0;
}

std::int32_t parseCmdNumber(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return HexToInt(text.substr(2));
    return parseAtol(text);
}

int scanRange(std::string_view text, std::int32_t& low, std::int32_t& high) {
    std::size_t pos = 0;
    if (!scanDecimal(text, pos, low)) return 0;
    if (pos >= text.size() || text[pos] != '-') return 1;
    ++pos;
    return scanDecimal(text, pos, high) ? 2 : 1;
}

MassCmdTable::MassCmdTable(const platform::ProfileReader& reader, i18n::Reporter& reporter, ToolMode toolMode)
    : m_reader(reader), m_reporter(reporter), m_toolMode(toolMode) {}

std::string MassCmdTable::readValue(const std::string& path, const std::string& section,
                                    std::string_view key) const {
    std::string value = m_reader.getString(path, section, key, kReadBufferSize);
    TrimIniValue(value);
    return value;
}

int MassCmdTable::loadEntry(const std::string& path, int index, MassCmd& entry) {
    entry.section = sectionName(index);
    const std::string& section = entry.section;

    entry.name = readValue(path, section, "name");
    if (entry.name.empty()) return 2;
    if (index >= kMaxEntries) {
        m_reporter.ErrorBox(kTooManySectionsText, section.c_str(), kMaxEntries);
        return 0;
    }
    if (entry.name.size() > kMaxNameLength) {
        m_reporter.ErrorBox(kTooLongKeyText, section.c_str(), "name");
        return 0;
    }

    const std::string cmd = readValue(path, section, "cmd");
    if (cmd.empty()) {
        m_reporter.ErrorBox(kMissingKeyText, section.c_str(), "cmd");
        return 0;
    }
    entry.cmd_code = parseCmdNumber(cmd);
    entry.count = parseAtol(readValue(path, section, "count"));

    if (entry.count > 0) {
        if (entry.count > kMaxChoices) {
            m_reporter.ErrorBox(kTooManyChoicesText, section.c_str(), "count", kMaxChoices);
            return 0;
        }
        entry.items.resize(static_cast<std::size_t>(entry.count));
        for (int j = 0; j < entry.count; ++j) {
            const std::string key = std::to_string(j);
            const std::string choice = readValue(path, section, key);
            if (choice.empty()) {
                m_reporter.ErrorBox(kMissingKeyText, section.c_str(), key.c_str());
                return 0;
            }
            // Value text before the first colon, label after it, both non-empty.
            const std::size_t colon = choice.find(':');
            std::string_view label;
            if (colon != std::string::npos) {
                label = std::string_view(choice).substr(colon + 1);
                label = label.substr(0, label.find('\n'));
            }
            if (colon == std::string::npos || colon == 0 || label.empty()) {
                m_reporter.ErrorBox(kIncorrectKeyText, section.c_str(), key.c_str());
                return 0;
            }
            if (colon > kMaxValueTextLength || label.size() > kMaxLabelLength) {
                m_reporter.ErrorBox(kTooLongKeyText, section.c_str(), key.c_str());
                return 0;
            }
            entry.items[static_cast<std::size_t>(j)].value =
                parseCmdNumber(std::string_view(choice).substr(0, colon));
            entry.items[static_cast<std::size_t>(j)].label = std::string(label);
        }
        return 1;
    }

    const std::string range = readValue(path, section, "range");
    if (range.empty()) {
        m_reporter.ErrorBox(kMissingKeyText, section.c_str(), "range");
        return 0;
    }
    if (scanRange(range, entry.range_min, entry.range_max) < 2) {
        m_reporter.ErrorBox(kIncorrectKeyText, section.c_str(), "range");
        return 0;
    }
    return 1;
}

int MassCmdTable::MassCmd_LoadTable(const std::string& path) {
    m_entries.clear();
    std::vector<MassCmd> loaded;
    // One section past the limit is read, so a file that goes on is rejected, not cut.
    for (int index = 0; index <= kMaxEntries; ++index) {
        MassCmd entry;
        const int result = loadEntry(path, index, entry);
        if (result == 0) return 0;
        if (result == 2) break;
        loaded.push_back(std::move(entry));
    }
    m_entries = std::move(loaded);
    return 1;
}

int MassCmdTable::MassCmd_CmdIdToCmdIndex(int cmd_code) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].cmd_code == cmd_code) return static_cast<int>(i);
    if (m_toolMode == ToolMode::Full)
        m_reporter.ErrorBox(kMissingCodeText, cmd_code);
    else
        m_reporter.ShowMsgById(kMsgMissingCode, {cmd_code});
    return -1;
}

int MassCmdTable::ValueToItemIndex(int cmd_code, int value) const {
    const int index = MassCmd_CmdIdToCmdIndex(cmd_code);
    if (index < 0) return -1;
    const MassCmd& entry = m_entries[static_cast<std::size_t>(index)];
    for (std::size_t j = 0; j < entry.items.size(); ++j)
        if (entry.items[j].value == value) return static_cast<int>(j);
    return -1;
}

int MassCmdTable::ItemIndexToValue(int cmd_code, int index) const {
    const int entryIndex = MassCmd_CmdIdToCmdIndex(cmd_code);
    if (entryIndex < 0) return -1;
    const MassCmd& entry = m_entries[static_cast<std::size_t>(entryIndex)];
    if (index < 0 || static_cast<std::size_t>(index) >= entry.items.size()) return -1;
    return entry.items[static_cast<std::size_t>(index)].value;
}

} // namespace trelvik::cmdtable
