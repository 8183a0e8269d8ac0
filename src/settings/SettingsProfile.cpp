// SPDX-License-Identifier: MIT
#include "settings/SettingsProfile.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "settings/Encodings.h"
#include "text/Hex.h"
#include "text/Unicode.h"

namespace trelvik::settings {

namespace {

constexpr std::string_view kPerCameraNames[] = {
    "SERIAL_NUMBER",   "COORDINATE_ENABLE", "LATITUDE",         "LATITUDE_DEGREE",  "LATITUDE_MINUTE",
    "LATITUDE_SECOND", "LONGITUDE",         "LONGITUDE_DEGREE", "LONGITUDE_MINUTE", "LONGITUDE_SECOND",
};
constexpr int kResetCode = 0x00;
constexpr std::uint8_t kResetValue = 0xFF;
constexpr unsigned kMaxRecordTimeAmount = 0x7F;
constexpr unsigned kMinutesFlag = 0x80;

std::string trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

const cmdtable::MassCmd* entryOf(const cmdtable::MassCmdTable& table, int code) {
    for (const cmdtable::MassCmd& entry : table.entries())
        if (entry.cmd_code == code) return &entry;
    return nullptr;
}

bool isRecordTime(const SettingRow& row) {
    return row.kind == SettingKind::Duration && row.width == 1;
}

// "12", "0x0C": a whole number of at most `max`.
std::optional<std::uint32_t> number(std::string_view text, std::uint32_t max) {
    return text::parseNumber(text, max);
}

ParsedValue fail(std::string why) {
    return {{}, std::move(why)};
}

ParsedValue parseList(const SettingRow& row, const std::string& text, const cmdtable::MassCmd& entry) {
    std::vector<const cmdtable::MassCmdItem*> matches;
    if (const auto value = text::parseNumber(text, 0xFFFFFFFF)) {
        for (const auto& item : entry.items)
            if (static_cast<std::uint32_t>(item.value) == *value) matches.push_back(&item);
    } else {
        for (const auto& item : entry.items)
            if (sameName(trim(item.label), text)) matches.push_back(&item);
        if (matches.size() > 1)
            return fail("the label \"" + text + "\" names " + std::to_string(matches.size()) +
                        " choices; write the number of the one meant");
    }
    if (matches.empty()) {
        std::string choices;
        for (const auto& item : entry.items)
            choices += (choices.empty() ? "" : ", ") + std::to_string(item.value) + " (" + item.label + ")";
        return fail("\"" + text + "\" is not one of its choices: " + choices);
    }
    const std::int32_t value = matches.front()->value;
    if (value < 0 || value > 0xFF)
        return fail("its choice value " + std::to_string(value) + " does not fit a register");
    (void)row;
    return {{static_cast<std::uint8_t>(value)}, {}};
}

ParsedValue parseNumberValue(const SettingRow& row, const std::string& text, const cmdtable::MassCmd& entry) {
    const bool own = row.flags & kOwnRange;
    const std::int64_t low = own ? 0 : entry.range_min;
    const std::int64_t high =
        own ? kOwnRangeMax : std::min<std::int64_t>(entry.range_max, (1LL << (8 * row.width)) - 1);
    const auto value = number(text, 0xFFFFFF);
    if (!value || *value < low || *value > high)
        return fail("\"" + text + "\" is not a number from " + std::to_string(low) + " to " +
                    std::to_string(high));
    return {splitBytes(*value, row.width), {}};
}

// "30 sec", "5 min", "30": a duration in seconds.
std::optional<unsigned> seconds(const std::string& text) {
    const auto blank = text.find_first_of(" \t");
    const std::string amount = text.substr(0, blank);
    const std::string unit = blank == std::string::npos ? "" : trim(text.substr(blank));
    const auto value = number(amount, 0xFFFFFF);
    if (!value) return std::nullopt;
    if (unit.empty() || sameName(unit, "sec") || sameName(unit, "s")) return *value;
    if (sameName(unit, "min") || sameName(unit, "m")) return *value * 60;
    return std::nullopt;
}

ParsedValue parseDuration(const SettingRow& row, const std::string& text) {
    const auto total = seconds(text);
    if (isRecordTime(row)) {
        // The register holds seconds up to 127, or whole minutes up to 127.
        if (total && *total <= kMaxRecordTimeAmount) return {{static_cast<std::uint8_t>(*total)}, {}};
        if (total && *total % 60 == 0 && *total / 60 <= kMaxRecordTimeAmount)
            return {{static_cast<std::uint8_t>(kMinutesFlag | (*total / 60))}, {}};
        return fail("\"" + text + "\" is not a duration the register holds: 0 to 127 sec, or 0 to 127 min");
    }
    if (!total || *total > 0xFFFF) return fail("\"" + text + "\" is not a duration from 0 sec to 65535 sec");
    return {splitBytes(*total, row.width), {}};
}

ParsedValue parseText(const SettingRow& row, std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    if (!text::isValidUtf8(text)) return fail("the text is not UTF-8");
    const std::u16string wide = text::utf8ToUtf16(text);
    if (wide.size() > static_cast<std::size_t>(row.width))
        return fail("\"" + text + "\" is longer than " + std::to_string(row.width) + " characters");
    const std::vector<std::uint8_t> bytes = registersFromText(wide, row.width);
    if (textFromRegisters(bytes) != wide)
        return fail("\"" + text + "\" has characters the camera cannot hold");
    return {bytes, {}};
}

// The value of a NAME=value line: quoted text as it stands, anything else up to a comment.
std::string valueOf(std::string_view rest) {
    std::string value = trim(rest);
    if (!value.empty() && value.front() == '"') {
        const auto close = value.find('"', 1);
        if (close != std::string::npos) return value.substr(0, close + 1);
        return value;
    }
    return trim(value.substr(0, value.find(';')));
}

// The profile's bytes as UTF-8, or why they cannot be read.
std::optional<std::string> decode(std::string_view bytes, std::string& why) {
    const auto has = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    if (has("\xFF\xFE") || has("\xFE\xFF")) {
        const bool little = has("\xFF\xFE");
        std::u16string units;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
            const auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
            units.push_back(static_cast<char16_t>(lo | hi << 8));
        }
        return text::utf16ToUtf8(units);
    }
    if (has("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (!text::isValidUtf8(bytes)) {
        why = "the profile is neither UTF-8 nor UTF-16 text";
        return std::nullopt;
    }
    return std::string(bytes);
}

std::size_t orderOf(const SettingRow* row) {
    return static_cast<std::size_t>(row - settingRows().data());
}

} // namespace

bool isPerCamera(const SettingRow& row) {
    return std::find(std::begin(kPerCameraNames), std::end(kPerCameraNames), row.name) !=
           std::end(kPerCameraNames);
}

std::vector<const SettingRow*> profileRows(const cmdtable::MassCmdTable& table) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : settingRows())
        if (row.page != Page::Settings && entryOf(table, row.code)) rows.push_back(&row);
    return rows;
}

const SettingRow* profileRowNamed(std::string_view name) {
    for (const SettingRow& row : settingRows())
        if (row.page != Page::Settings && sameName(row.name, name)) return &row;
    return nullptr;
}

std::string profileValue(const SettingRow& row, std::span<const std::uint8_t> bytes) {
    const unsigned value = joinBytes(bytes);
    switch (row.kind) {
    case SettingKind::List:
    case SettingKind::Number:
    case SettingKind::MultiNumber:
        return std::to_string(value);
    case SettingKind::Duration:
        if (isRecordTime(row))
            return value & kMinutesFlag ? std::to_string(value & kMaxRecordTimeAmount) + " min"
                                        : std::to_string(value) + " sec";
        return value >= 60 && value % 60 == 0 ? std::to_string(value / 60) + " min"
                                              : std::to_string(value) + " sec";
    case SettingKind::Text:
        return "\"" + text::utf16ToUtf8(textFromRegisters(bytes)) + "\"";
    }
    return {};
}

std::string profileLabel(const SettingRow& row, std::span<const std::uint8_t> bytes,
                         const cmdtable::MassCmdTable& table) {
    if (row.kind != SettingKind::List || bytes.empty()) return {};
    if (const cmdtable::MassCmd* entry = entryOf(table, row.code))
        for (const auto& item : entry->items)
            if (item.value == bytes[0]) return item.label;
    return {};
}

ParsedValue parseProfileValue(const SettingRow& row, std::string_view text,
                              const cmdtable::MassCmdTable& table) {
    const cmdtable::MassCmd* entry = entryOf(table, row.code);
    if (!entry) return fail("the command file has no entry for register " + std::to_string(row.code));
    const std::string value = trim(text);
    if (value.empty()) return fail("the value is empty");
    switch (row.kind) {
    case SettingKind::List:
        return parseList(row, value, *entry);
    case SettingKind::Number:
    case SettingKind::MultiNumber:
        return parseNumberValue(row, value, *entry);
    case SettingKind::Duration:
        return parseDuration(row, value);
    case SettingKind::Text:
        return parseText(row, value);
    }
    return fail("unknown kind");
}

CheckedProfile checkProfile(std::string_view fileBytes, const cmdtable::MassCmdTable& table,
                            bool includePerCamera) {
    CheckedProfile checked;
    std::string why;
    const auto text = decode(fileBytes, why);
    if (!text) {
        checked.problems.push_back({0, why});
        return checked;
    }
    const auto problem = [&](int line, std::string what) {
        checked.problems.push_back({line, std::move(what)});
    };
    const std::vector<const SettingRow*> known = profileRows(table);
    std::map<const SettingRow*, int> seen;
    std::string section;
    bool inSection = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= text->size()) {
        const std::size_t end = std::min(text->find('\n', start), text->size());
        std::string line = trim(std::string_view(*text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line = trim(line.substr(0, line.size() - 1));
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const auto close = line.find(']');
            if (close == std::string::npos) {
                problem(lineNumber, "a section header without its closing ]");
                continue;
            }
            section = trim(line.substr(1, close - 1));
            inSection = true;
            if (!sameName(section, kCameraSection) && !sameName(section, kSettingsSection) &&
                !sameName(section, kPerCameraSection))
                problem(lineNumber, "unknown section [" + section +
                                        "]: a profile has [Camera], [Settings] and [PerCamera]");
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) {
            problem(lineNumber, "not a NAME=value line: " + line);
            continue;
        }
        if (!inSection) {
            problem(lineNumber, "a setting before any section");
            continue;
        }
        const bool perCameraSection = sameName(section, kPerCameraSection);
        if (!perCameraSection && !sameName(section, kSettingsSection)) continue; // [Camera] is never written
        const std::string name = trim(line.substr(0, eq));
        const SettingRow* row = profileRowNamed(name);
        if (!row) {
            problem(lineNumber, "unknown setting \"" + name + "\"");
            continue;
        }
        if (std::find(known.begin(), known.end(), row) == known.end()) {
            problem(lineNumber, std::string(row->name) + ": the command file has no entry for its register");
            continue;
        }
        if (const auto first = seen.find(row); first != seen.end()) {
            problem(lineNumber, std::string(row->name) + " is set twice (first on line " +
                                    std::to_string(first->second) + ")");
            continue;
        }
        seen[row] = lineNumber;
        if (isPerCamera(*row) != perCameraSection) {
            problem(lineNumber,
                    std::string(row->name) + (perCameraSection
                                                  ? " is shared by every camera: put it in [Settings]"
                                                  : " belongs to one camera alone: put it in [PerCamera]"));
            continue;
        }
        const std::string value = valueOf(std::string_view(line).substr(eq + 1));
        ParsedValue parsed = parseProfileValue(*row, value, table);
        // A reset is named as such, whether or not the command file offers it as a choice.
        const bool resets =
            row->code == kResetCode &&
            (number(value, 0xFF) == kResetValue || (parsed.error.empty() && parsed.bytes[0] == kResetValue));
        if (!resets && !parsed.error.empty()) {
            problem(lineNumber, std::string(row->name) + ": " + parsed.error);
            continue;
        }
        if (resets) {
            problem(lineNumber, std::string(row->name) +
                                    ": 255 in register 0x00 resets the camera to factory defaults instead of "
                                    "setting it (use 'trelvik-cli reset')");
            continue;
        }
        if (perCameraSection && !includePerCamera) continue;
        checked.settings.push_back({row, value, std::move(parsed.bytes), lineNumber});
    }
    std::sort(
        checked.settings.begin(), checked.settings.end(),
        [](const PlannedSetting& a, const PlannedSetting& b) { return orderOf(a.row) < orderOf(b.row); });
    return checked;
}

std::string writeProfile(const std::vector<std::string>& cameraLines,
                         const std::vector<DumpedSetting>& settings, const cmdtable::MassCmdTable& table) {
    std::string text = "; Trelvik settings profile. Values are register values or choice labels of the\n"
                       "; command file; 'trelvik-cli check' reads it, 'trelvik-cli apply' writes it.\n";
    text += "[" + std::string(kCameraSection) + "]\n";
    for (const std::string& line : cameraLines)
        text += line + "\n";
    for (const bool perCamera : {false, true}) {
        text += "\n[" + std::string(perCamera ? kPerCameraSection : kSettingsSection) + "]\n";
        for (const DumpedSetting& setting : settings) {
            if (isPerCamera(*setting.row) != perCamera) continue;
            if (setting.bytes.empty()) {
                text += "; " + std::string(setting.row->name) + " left out: " + setting.why + "\n";
                continue;
            }
            text += std::string(setting.row->name) + "=" + profileValue(*setting.row, setting.bytes);
            const std::string label = profileLabel(*setting.row, setting.bytes, table);
            if (!label.empty()) text += " ; " + label;
            text += "\n";
        }
    }
    return text;
}

} // namespace trelvik::settings
