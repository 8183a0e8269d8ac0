// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The command-line companion: each command lives in a file of its own and registers
// itself with a static Registrar, so adding a command touches no shared list.
namespace trelvik::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,        // usage or input error
    kExitCameraFailed = 2, // the camera failed or its reply was rejected
    kExitNotSupported = 3, // the camera answered "not supported"
    kExitNoCamera = 4,     // no camera found
};

enum class OptionValue { None, Required, Optional }; // Optional: only as --name=VALUE

struct OptionSpec {
    std::string name; // without the leading "--". Example: "langid"
    OptionValue value = OptionValue::None;
};

class NativeServices;

// A parsed command line: options may stand before or after the positional arguments.
struct Invocation {
    std::vector<std::string> positional;
    std::map<std::string, std::optional<std::string>> options;
    // The operating system's objects the command works with, as main made them.
    NativeServices* natives = nullptr;
    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
};

struct Command {
    std::string name;                // Example: "table"
    std::string synopsis;            // Example: "table FILE"
    std::string help;                // a few lines for --help
    std::vector<OptionSpec> options; // "--help" is always accepted
    std::function<int(const Invocation&, std::ostream& out, std::ostream& err)> run;
};

struct Registrar {
    explicit Registrar(Command command);
};

const std::vector<Command>& commands();

// Parses `args` (the words after the command's name) against `command`'s options.
// Returns false and writes a message to `err` on an unknown option or a missing value.
bool parseInvocation(const Command& command, const std::vector<std::string>& args, Invocation& out,
                     std::ostream& err);

// Runs the whole command line on `natives`; the result is the process exit code.
int runCli(const std::vector<std::string>& args, NativeServices& natives, std::ostream& out,
           std::ostream& err);
// The same on native objects of its own: for callers that run one command line.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Why `path` cannot be read as a file, as the end of a sentence that starts with the path;
// nullopt for a regular file. Examples: "does not exist", "is a folder, not a file".
std::optional<std::string> notAFile(const std::string& path);

} // namespace trelvik::cli
