// SPDX-License-Identifier: MIT
#include "cli/ProfileSupport.h"

#include <fstream>
#include <ostream>

#include "cli/CameraSession.h"
#include "platform/PlainFile.h"

namespace trelvik::cli {

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
