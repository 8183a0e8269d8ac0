// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "support/Files.h"
#include "support/RunProgram.h"

namespace trelvik::testing {

// One run of trelvik-cli: its exit code and what it printed.
struct CliRun {
    int code = -1;
    std::string out, err;
};

// The command line run in this process. Example: runCommandLine({"table", "mass_cmd.ini"}).code -> 0.
inline CliRun runCommandLine(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::runCli(args, out, err);
    return {code, out.str(), err.str()};
}

// The built executable `program` run as a user runs it, each word passed as it is; what it
// prints is caught in files of the folder `scratch`. The code is -1 when it did not exit.
inline CliRun runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& scratch) {
    const std::filesystem::path outFile = scratch / "stdout.txt";
    const std::filesystem::path errFile = scratch / "stderr.txt";
    CliRun run;
    run.code = runAndWait(program, args, outFile, errFile);
    run.out = readText(outFile);
    run.err = readText(errFile);
    return run;
}

} // namespace trelvik::testing
