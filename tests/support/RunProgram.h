// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Starting another program from a test, the one thing tests do that each system does its own
// way; support/linux/ and support/windows/ implement it, chosen by the build.
namespace trelvik::testing {

// Runs `program` with `args`, each handed over as one argument and seen by no shell, with its
// standard output and error written to `outFile` and `errFile`, and waits for it. Returns its
// exit code, or -1 when it could not be started or did not exit normally.
// Example: runAndWait("bin/trelvik-cli", {"read", "0x41"}, "out.txt", "err.txt") -> 0
int runAndWait(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile);

} // namespace trelvik::testing
