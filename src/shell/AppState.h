// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cmdtable/ToolMode.h"
#include "i18n/MessageCatalog.h"

namespace trelvik::shell {

// Process-wide state that start-up sets and other parts read. One object, created by main
// (or afresh by each test), handed down by reference.
struct AppState {
    cmdtable::ToolMode ToolMode = cmdtable::ToolMode::Full; // set by the command file found
    std::string ModuleDir;       // folder of the executable, without the trailing separator
    std::string CommandFilePath; // ModuleDir, separator, name of the command file found
    std::string WindowTitleBase; // [APP] Title of the command file, at most 127 bytes
    std::vector<i18n::LanguageEntry> LanguageTable; // at most 16 entries, in file order
    int LanguageCount() const { return static_cast<int>(LanguageTable.size()); }
};

} // namespace trelvik::shell
