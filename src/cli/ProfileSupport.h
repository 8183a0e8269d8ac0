// SPDX-License-Identifier: MIT
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CommandTableFile.h"
#include "settings/SettingsProfile.h"

// What the profile commands (dump, check, apply) share.
namespace trelvik::cli {

// Loads the command file and reads the profile the first argument names into `bytes`: kExitOk,
// or kExitUsage after saying why on `err` (no file, not a regular file, larger than a profile
// can be).
int loadTableAndProfile(const Invocation& invocation, CommandTableFile& table, std::string& bytes,
                        std::ostream& err);

// Checks a profile; lists its problems on `out` as "FILE:LINE: text". True when there is none.
bool checkedProfile(const std::string& path, const std::string& bytes, const CommandTableFile& table,
                    bool includePerCamera, settings::CheckedProfile& profile, std::ostream& out);

} // namespace trelvik::cli
