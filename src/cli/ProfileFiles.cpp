// SPDX-License-Identifier: MIT
#include "cli/ProfileFiles.h"

#include <optional>
#include <ostream>

#include <nlohmann/json.hpp>

#include "platform/PlainFile.h"
#include "settings/ProfileText.h"
#include "settings/SettingsProfile.h"

namespace trelvik::cli {

namespace {

// The value of `key` in the [Camera] section of an INI profile; nullopt when it has none.
std::optional<std::string> cameraFact(const std::string& text, const std::string& key) {
    const std::string header = "[" + std::string(settings::kCameraSection) + "]\n";
    const auto section = text.find(header);
    if (section == std::string::npos) return std::nullopt;
    const auto end = text.find("\n[", section + header.size());
    const std::string wanted = "\n" + key + "=";
    const auto at = text.find(wanted, section + header.size() - 1);
    if (at == std::string::npos || at > end) return std::nullopt;
    const auto lineEnd = text.find('\n', at + 1);
    return text.substr(at + wanted.size(), lineEnd - at - wanted.size());
}

} // namespace

bool isProfileOfCamera(const std::string& text, const std::string& device) {
    if (text.rfind("; Trelvik settings profile.", 0) == 0)
        return cameraFact(text, "device") == settings::quoteBytes(device);
    const auto json = nlohmann::json::parse(text, nullptr, false);
    return json.is_object() && json.contains("settings") && json.contains("camera") &&
           json["camera"].is_object() && json["camera"].contains("device") &&
           json["camera"]["device"] == device;
}

bool mayWriteProfile(const std::string& path, const std::string& device, std::ostream& err) {
    platform::FileKind kind = platform::FileKind::Missing;
    std::string reason, earlier;
    if (!platform::inspectPath(path, kind, reason)) {
        err << "trelvik-cli: cannot look at " << path << ": " << reason << "\n";
        return false;
    }
    if (kind == platform::FileKind::Missing ||
        (kind == platform::FileKind::Regular &&
         platform::readPlainFile(path, settings::kMaxProfileBytes, earlier, reason) &&
         isProfileOfCamera(earlier, device)))
        return true;
    err << "trelvik-cli: " << path << " is not an earlier profile of camera " << device
        << ", so it was left alone\n";
    return false;
}

bool writeProfileFile(const std::string& path, const std::string& text, std::ostream& err) {
    std::string reason;
    if (platform::replacePlainFile(path, text, reason)) return true;
    err << "trelvik-cli: cannot write " << path << ": " << reason << "\n";
    return false;
}

} // namespace trelvik::cli
