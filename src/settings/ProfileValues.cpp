// SPDX-License-Identifier: MIT
// A setting's register bytes as a profile writes its value, and back, by the window's
// encodings, so that a camera set by profile holds what the window would have saved.
#include <algorithm>

#include "settings/Encodings.h"
#include "settings/ProfileText.h"
#include "settings/SettingsProfile.h"
#include "text/Hex.h"
#include "text/Unicode.h"

namespace trelvik::settings {

namespace {

ParsedValue fail(std::string why) {
    return {{}, std::move(why)};
}

// A label of the command file as UTF-16: UTF-8, or Windows-1252 as older files are.
std::u16string labelText(std::string_view label) {
    return text::isValidUtf8(label) ? text::utf8ToUtf16(label) : text::windows1252ToUtf16(label);
}

bool isRecordTime(const SettingRow& row) {
    return row.kind == SettingKind::Duration && row.width == 1;
}

ParsedValue parseList(const std::string& text, const cmdtable::MassCmd& entry) {
    std::vector<const cmdtable::MassCmdItem*> matches;
    if (const auto value = text::parseNumber(text, 0xFFFFFFFF)) {
        for (const auto& item : entry.items)
            if (static_cast<std::uint32_t>(item.value) == *value) matches.push_back(&item);
    } else {
        const std::u16string wanted = text::foldCase(labelText(text));
        for (const auto& item : entry.items)
            if (text::foldCase(labelText(trimmed(item.label))) == wanted) matches.push_back(&item);
        if (matches.size() > 1)
            return fail("the label " + shownValue(text) + " names " + std::to_string(matches.size()) +
                        " choices; write the number of the one meant");
    }
    if (matches.empty()) {
        std::string choices;
        for (const auto& item : entry.items)
            choices += (choices.empty() ? "" : ", ") + std::to_string(item.value) + " (" +
                       text::utf16ToUtf8(labelText(item.label)) + ")";
        return fail(shownValue(text) + " is not one of its choices: " + choices);
    }
    const std::int32_t value = matches.front()->value;
    if (value < 0 || value > 0xFF)
        return fail("its choice value " + std::to_string(value) + " does not fit a register");
    return {{static_cast<std::uint8_t>(value)}, {}};
}

ParsedValue parseNumberValue(const SettingRow& row, const std::string& text, const cmdtable::MassCmd& entry) {
    const bool own = row.flags & kOwnRange;
    const std::int64_t low = own ? 0 : entry.range_min;
    const std::int64_t high =
        own ? kOwnRangeMax : std::min<std::int64_t>(entry.range_max, (1LL << (8 * row.width)) - 1);
    const auto value = text::parseNumber(text, 0xFFFFFF);
    if (!value || *value < low || *value > high)
        return fail(shownValue(text) + " is not a number from " + std::to_string(low) + " to " +
                    std::to_string(high));
    return {splitBytes(*value, row.width), {}};
}

// The window's track-bar position of "30 sec", "5 min", "120 sec" or "30" (seconds); nullopt
// for a duration the scale does not hold (90 sec lies between two of its minutes).
std::optional<int> durationPosition(const std::string& text) {
    const auto blank = text.find_first_of(" \t");
    const std::string unit = blank == std::string::npos ? "" : trimmed(text.substr(blank));
    const auto amount = text::parseNumber(text.substr(0, blank), 0xFFFF);
    const std::u16string foldedUnit = text::foldCase(text::utf8ToUtf16(unit));
    if (!amount) return std::nullopt;
    if (foldedUnit == u"min" || foldedUnit == u"m")
        return *amount == 0 ? 0 : static_cast<int>(*amount) + kLastSecondPosition;
    if (!unit.empty() && foldedUnit != u"sec" && foldedUnit != u"s") return std::nullopt;
    if (*amount <= kLastSecondPosition) return static_cast<int>(*amount);
    if (*amount % 60 != 0) return std::nullopt;
    return static_cast<int>(*amount / 60) + kLastSecondPosition;
}

std::string positionText(const SettingRow& row, int position) {
    return durationText(isRecordTime(row) ? recordTimeAt(position) : intervalAt(position));
}

ParsedValue parseDuration(const SettingRow& row, const std::string& text, const cmdtable::MassCmd& entry) {
    const auto position = durationPosition(text);
    const std::string range =
        positionText(row, entry.range_min) + " to " + positionText(row, entry.range_max);
    if (!position) return fail(shownValue(text) + " is not a duration of 0 to 59 sec or whole minutes");
    if (*position < entry.range_min || *position > entry.range_max)
        return fail(shownValue(text) + " is outside the command file's range, " + range);
    if (isRecordTime(row)) return {{recordTimeByte(*position)}, {}};
    return {splitBytes(intervalSeconds(*position), row.width), {}};
}

ParsedValue parseText(const SettingRow& row, const std::string& text) {
    TextBytes parsed = unquoteText(text, static_cast<std::size_t>(row.width));
    if (!parsed.error.empty()) return fail(std::move(parsed.error));
    parsed.bytes.resize(static_cast<std::size_t>(row.width), 0);
    return {std::move(parsed.bytes), {}};
}

// The duration the window shows for a setting's bytes.
ShownDuration shownDuration(const SettingRow& row, std::span<const std::uint8_t> bytes) {
    if (isRecordTime(row)) return recordTimeFromByte(bytes.empty() ? 0 : bytes[0]);
    return intervalFromSeconds(joinBytes(bytes));
}

} // namespace

const cmdtable::MassCmd* commandEntry(const cmdtable::MassCmdTable& table, int code) {
    for (const cmdtable::MassCmd& entry : table.entries())
        if (entry.cmd_code == code) return &entry;
    return nullptr;
}

std::string profileValue(const SettingRow& row, std::span<const std::uint8_t> bytes) {
    switch (row.kind) {
    case SettingKind::List:
    case SettingKind::Number:
    case SettingKind::MultiNumber:
        return std::to_string(joinBytes(bytes));
    case SettingKind::Duration:
        return durationText(shownDuration(row, bytes));
    case SettingKind::Text: {
        std::size_t length = bytes.size();
        while (length > 0 && bytes[length - 1] == 0)
            --length;
        return quoteBytes(bytes.first(length));
    }
    }
    return {};
}

std::string profileLabel(const SettingRow& row, std::span<const std::uint8_t> bytes,
                         const cmdtable::MassCmdTable& table) {
    if (row.kind == SettingKind::Duration && !bytes.empty()) {
        // A byte off the window's scale is shown, and saved, as the nearest whole minute.
        const ShownDuration shown = shownDuration(row, bytes);
        const std::vector<std::uint8_t> saved =
            isRecordTime(row) ? std::vector<std::uint8_t>{recordTimeByte(shown.position)}
                              : splitBytes(intervalSeconds(shown.position), row.width);
        if (std::equal(saved.begin(), saved.end(), bytes.begin(), bytes.end())) return {};
        std::string held;
        for (const std::uint8_t byte : bytes)
            held += (held.empty() ? "" : " ") + text::hexByte(byte);
        return "the camera holds " + held + ", which the tool shows and saves as " + durationText(shown);
    }
    if (row.kind != SettingKind::List || bytes.empty()) return {};
    if (const cmdtable::MassCmd* entry = commandEntry(table, row.code))
        for (const auto& item : entry->items)
            if (item.value == bytes[0]) return text::utf16ToUtf8(labelText(item.label));
    return {};
}

ParsedValue parseProfileValue(const SettingRow& row, std::string_view text,
                              const cmdtable::MassCmdTable& table) {
    const cmdtable::MassCmd* entry = commandEntry(table, row.code);
    if (!entry) return fail("the command file has no entry for register " + std::to_string(row.code));
    const std::string value = trimmed(text);
    if (value.empty()) return fail("the value is empty");
    switch (row.kind) {
    case SettingKind::List:
        return parseList(value, *entry);
    case SettingKind::Number:
    case SettingKind::MultiNumber:
        return parseNumberValue(row, value, *entry);
    case SettingKind::Duration:
        return parseDuration(row, value, *entry);
    case SettingKind::Text:
        return parseText(row, value);
    }
    return fail("unknown kind");
}

} // namespace trelvik::settings
