// SPDX-License-Identifier: MIT
#include "settings/SettingsProfile.h"

#include <algorithm>
#include <map>

#include "link/CameraFacts.h"
#include "settings/ProfileText.h"
#include "text/Hex.h"
#include "text/Unicode.h"

namespace trelvik::settings {

namespace {

constexpr std::string_view kPerCameraNames[] = {
    "SERIAL_NUMBER",   "COORDINATE_ENABLE", "LATITUDE",         "LATITUDE_DEGREE",  "LATITUDE_MINUTE",
    "LATITUDE_SECOND", "LONGITUDE",         "LONGITUDE_DEGREE", "LONGITUDE_MINUTE", "LONGITUDE_SECOND",
};

bool sameName(std::string_view a, std::string_view b) {
    return text::foldCase(text::utf8ToUtf16(a)) == text::foldCase(text::utf8ToUtf16(b));
}

// The profile as UTF-8 lines, or why it cannot be read. A line that is not UTF-8 is told by
// its own number, unless it lies in [Camera].
std::optional<std::string> decode(std::string_view bytes, std::string& why) {
    if (bytes.size() > kMaxProfileBytes) {
        why = "the profile is larger than 1 MiB; a profile takes a few kilobytes, so it was not read";
        return std::nullopt;
    }
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
    return std::string(bytes);
}

// CR LF, LF and CR each end a line.
std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return lines;
}

std::size_t orderOf(const SettingRow* row) {
    return static_cast<std::size_t>(row - settingRows().data());
}

// Reads a profile line by line into `checked`.
class ProfileChecker {
public:
    ProfileChecker(const cmdtable::MassCmdTable& table, bool includePerCamera, CheckedProfile& checked)
        : m_table(table), m_includePerCamera(includePerCamera), m_checked(checked),
          m_known(profileRows(table)) {}

    void line(int number, std::string_view raw) {
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') return;
        if (line[0] == '[') return header(number, line);
        if (m_inSection && sameName(m_section, kCameraSection)) return; // never written, never checked
        if (!text::isValidUtf8(line)) return problem(number, "the line is not UTF-8 text");
        const auto eq = line.find('=');
        if (eq == std::string::npos) return problem(number, "not a NAME=value line: " + shownValue(line));
        if (!m_inSection) return problem(number, "a setting before any section");
        const bool perCameraSection = sameName(m_section, kPerCameraSection);
        if (!perCameraSection && !sameName(m_section, kSettingsSection)) return;
        ++m_settingLines;
        setting(number, trimmed(line.substr(0, eq)), line.substr(eq + 1), perCameraSection);
    }

    void finish() {
        if (!m_checked.problems.empty()) return;
        if (m_settingLines == 0)
            problem(0, "the profile holds no settings: applying it would change nothing");
        else if (m_checked.settings.empty())
            problem(0, "every setting is in [PerCamera]: add --include-identity to write them");
        std::sort(
            m_checked.settings.begin(), m_checked.settings.end(),
            [](const PlannedSetting& a, const PlannedSetting& b) { return orderOf(a.row) < orderOf(b.row); });
    }

    void problem(int number, std::string what) { m_checked.problems.push_back({number, std::move(what)}); }

private:
    void header(int number, const std::string& line) {
        const auto close = line.find(']');
        if (close == std::string::npos) return problem(number, "a section header without its closing ]");
        m_section = trimmed(line.substr(1, close - 1));
        m_inSection = true;
        if (!sameName(m_section, kCameraSection) && !sameName(m_section, kSettingsSection) &&
            !sameName(m_section, kPerCameraSection))
            problem(number, "unknown section [" + shownValue(m_section) +
                                "]: a profile has [Camera], [Settings] and [PerCamera]");
    }

    void setting(int number, const std::string& name, std::string_view rest, bool perCameraSection) {
        const SettingRow* row = profileRowNamed(name);
        if (!row) return problem(number, "unknown setting " + shownValue(name));
        const std::string rowName(row->name);
        if (std::find(m_known.begin(), m_known.end(), row) == m_known.end())
            return problem(number, rowName + ": the command file has no entry for its register");
        if (const auto first = m_seen.find(row); first != m_seen.end())
            return problem(number,
                           rowName + " is set twice (first on line " + std::to_string(first->second) + ")");
        m_seen[row] = number;
        if (isPerCamera(*row) != perCameraSection)
            return problem(number, rowName + (perCameraSection
                                                  ? " is shared by every camera: put it in [Settings]"
                                                  : " belongs to one camera alone: put it in [PerCamera]"));
        std::string error;
        const std::string value = profileValueText(rest, error);
        if (!error.empty()) return problem(number, rowName + ": " + error);
        ParsedValue parsed = parseProfileValue(*row, value, m_table);
        // A reset is named as such, whether or not the command file offers it as a choice.
        const auto asNumber = text::parseNumber(value, 0xFF);
        if ((asNumber && link::isFactoryReset(row->code, static_cast<int>(*asNumber))) ||
            (parsed.error.empty() && link::isFactoryReset(row->code, parsed.bytes[0])))
            return problem(number, rowName + ": 255 in register 0x00 resets the camera to factory defaults "
                                             "instead of setting it (use 'trelvik-cli reset')");
        if (!parsed.error.empty()) return problem(number, rowName + ": " + parsed.error);
        if (perCameraSection && !m_includePerCamera) return;
        m_checked.settings.push_back({row, value, std::move(parsed.bytes), number});
    }

    const cmdtable::MassCmdTable& m_table;
    const bool m_includePerCamera;
    CheckedProfile& m_checked;
    const std::vector<const SettingRow*> m_known;
    std::map<const SettingRow*, int> m_seen;
    std::string m_section;
    bool m_inSection = false;
    int m_settingLines = 0;
};

} // namespace

bool isPerCamera(const SettingRow& row) {
    return std::find(std::begin(kPerCameraNames), std::end(kPerCameraNames), row.name) !=
           std::end(kPerCameraNames);
}

std::vector<const SettingRow*> profileRows(const cmdtable::MassCmdTable& table) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : settingRows())
        if (row.page != Page::Settings && commandEntry(table, row.code)) rows.push_back(&row);
    return rows;
}

const SettingRow* profileRowNamed(std::string_view name) {
    for (const SettingRow& row : settingRows())
        if (row.page != Page::Settings && sameName(row.name, name)) return &row;
    return nullptr;
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
    ProfileChecker checker(table, includePerCamera, checked);
    int number = 0;
    for (const std::string_view line : splitLines(*text))
        checker.line(++number, line);
    checker.finish();
    return checked;
}

std::string writeProfile(const std::vector<std::pair<std::string, std::string>>& cameraFacts,
                         const std::vector<DumpedSetting>& settings, const cmdtable::MassCmdTable& table) {
    std::string text = "; Trelvik settings profile. Values are register values or choice labels of the\n"
                       "; command file; 'trelvik-cli check' reads it, 'trelvik-cli apply' writes it.\n";
    text += "[" + std::string(kCameraSection) + "]\n";
    for (const auto& [key, value] : cameraFacts)
        text += key + "=" + quoteBytes(value) + "\n";
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
