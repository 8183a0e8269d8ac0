// SPDX-License-Identifier: MIT
#include "cli/ProfileSupport.h"

#include <fstream>
#include <ostream>

#include "cli/CameraSession.h"
#include "platform/PlainFile.h"

namespace trelvik::cli {

nlohmann::ordered_json codesJson(const settings::SettingRow& row) {
    nlohmann::ordered_json codes = nlohmann::ordered_json::array();
    for (int i = 0; i < row.width; ++i)
        codes.push_back(hexByte(static_cast<std::uint8_t>(row.code + i)));
    return codes;
}

link::Result<std::vector<std::uint8_t>> readSetting(link::CameraConnection& camera,
                                                    const settings::SettingRow& row) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < row.width; ++i) {
        const auto value = camera.readRegister(static_cast<std::uint8_t>(row.code + i));
        if (!value) return value.error();
        bytes.push_back(*value);
    }
    return bytes;
}

link::Outcome writeSettingBytes(link::CameraConnection& camera, const settings::SettingRow& row,
                                const std::vector<std::uint8_t>& bytes, std::vector<std::string>& written) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(row.code + static_cast<int>(i));
        if (const auto done = camera.writeRegister(code, bytes[i]); !done) return done;
        written.push_back(hexByte(code));
    }
    return link::Done{};
}

bool cameraGone(link::CameraConnection& camera, const link::ConnectionError& error) {
    using Kind = link::ConnectionError::Kind;
    if (error.kind == Kind::NoCamera || error.kind == Kind::OpenFailed) return true;
    return error.kind == Kind::CameraFailed && camera.drives().empty();
}

std::string statusOf(const link::ConnectionError& error) {
    return error.kind == link::ConnectionError::Kind::NotSupported ? "unsupported" : "failed";
}

std::string deviceName(link::CameraConnection& camera) {
    const auto drives = camera.drives();
    return drives.empty() ? std::string() : drives.front().name;
}

int loadTableAndProfile(const Invocation& invocation, CommandTableFile& table, std::string& bytes,
                        std::ostream& err) {
    if (const int rc = table.load(invocation, err); rc != kExitOk) return rc;
    const std::string& path = invocation.positional[0];
    if (const auto problem = notAFile(path)) {
        err << "trelvik-cli: " << path << " " << *problem << "\n";
        return kExitUsage;
    }
    // One byte past the limit tells a file at the limit from one above it.
    std::ifstream in(platform::filesystemPath(path), std::ios::binary);
    bytes.assign(settings::kMaxProfileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || (!in && !in.eof())) {
        err << "trelvik-cli: cannot read " << path << "\n";
        return kExitUsage;
    }
    if (bytes.size() > settings::kMaxProfileBytes) {
        err << "trelvik-cli: " << path
            << " is larger than 1 MiB; a profile takes a few kilobytes, so it was not read\n";
        return kExitUsage;
    }
    return kExitOk;
}

bool checkedProfile(const std::string& path, const std::string& bytes, const CommandTableFile& table,
                    bool includePerCamera, settings::CheckedProfile& profile, std::ostream& out) {
    profile = settings::checkProfile(bytes, table.table(), includePerCamera);
    for (const auto& problem : profile.problems)
        out << path << ":" << problem.line << ": " << problem.text << "\n";
    return profile.problems.empty();
}

} // namespace trelvik::cli
