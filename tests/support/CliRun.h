// SPDX-License-Identifier: MIT
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace trelvik::testing {

// One in-process run of trelvik-cli: its exit code and what it printed.
struct CliRun {
    int code;
    std::string out, err;
};

// Example: runCommandLine({"table", "mass_cmd.ini"}).code -> 0.
inline CliRun runCommandLine(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::runCli(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace trelvik::testing
