// SPDX-License-Identifier: MIT
#include "settings/ProfileDump.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "settings/ProfileApply.h"

namespace trelvik::settings {

namespace {

constexpr std::string_view kForbiddenInFileNames = "<>:\"/\\|?*";
constexpr std::array<std::string_view, 4> kReservedNames = {"CON", "PRN", "AUX", "NUL"};

// CON, COM1, LPT9, "nul.json": names Windows keeps for devices, whatever follows a dot.
bool isReservedName(std::string stem) {
    stem = stem.substr(0, stem.find('.'));
    std::transform(stem.begin(), stem.end(), stem.begin(),
                   [](char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); });
    if (std::find(kReservedNames.begin(), kReservedNames.end(), stem) != kReservedNames.end()) return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

} // namespace

std::string cameraName(link::CameraConnection& camera) {
    const auto drives = camera.drives();
    return drives.empty() ? std::string() : drives.front().name;
}

CameraDump dumpCamera(link::CameraConnection& camera, const cmdtable::MassCmdTable& table,
                      std::string dumped) {
    const auto text = [](const link::Result<std::string>& value) { return value ? *value : std::string(); };
    CameraDump dump;
    dump.device = cameraName(camera);
    dump.version = text(camera.readVersion());
    dump.model = text(camera.readModel());
    dump.make = text(camera.readMake());
    dump.dumped = std::move(dumped);
    for (const SettingRow* row : profileRows(table)) {
        const auto bytes = readSetting(camera, *row);
        if (bytes) {
            dump.settings.push_back({row, *bytes, {}});
            continue;
        }
        const bool unsupported = bytes.error().kind == link::ConnectionError::Kind::NotSupported;
        dump.readFailed = dump.readFailed || !unsupported;
        dump.settings.push_back(
            {row, {}, unsupported ? "not supported by the camera" : "failed: " + bytes.error().text});
    }
    return dump;
}

std::string dumpText(const CameraDump& dump, const cmdtable::MassCmdTable& table) {
    return writeProfile({{"device", dump.device},
                         {"model", dump.model},
                         {"make", dump.make},
                         {"firmware", dump.version},
                         {"dumped", dump.dumped}},
                        dump.settings, table);
}

std::string safeFileName(const std::string& name) {
    std::string file = name;
    for (char& c : file)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
            kForbiddenInFileNames.find(c) != std::string::npos)
            c = '_';
    for (std::size_t end = file.size(); end > 0 && (file[end - 1] == '.' || file[end - 1] == ' '); --end)
        file[end - 1] = '_';
    if (file.empty() || isReservedName(file)) file.insert(0, "_");
    return file;
}

} // namespace trelvik::settings
