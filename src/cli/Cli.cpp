// SPDX-License-Identifier: MIT
#include "cli/Cli.h"

#include "cli/CameraSession.h"
#include "cli/NativeServices.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "platform/PlainFile.h"

namespace trelvik::cli {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> commands;
    return commands;
}

// Also the source of trelvik-cli(1): help2man reads it, so it names every command, the
// options the camera commands share and the exit codes.
void printUsage(std::ostream& out) {
    out << "Usage: trelvik-cli [OPTIONS] COMMAND [ARGS...] [OPTIONS]\n"
           "  or:  trelvik-cli --help | --version\n"
           "The command-line companion of the Trelvik trail camera tool: reads and writes the\n"
           "camera's registers, clock, media and identity, and checks command and message\n"
           "files. Results are JSON on stdout, errors go to stderr.\n\ncommands:\n";
    for (const Command& c : commands())
        out << "  " << c.synopsis << "\n";
    out << "\noptions of the camera commands:\n"
        << kCameraOptionsHelp << "\n\n'trelvik-cli COMMAND --help' tells more about one command.\n";
}

const OptionSpec* findOption(const Command& command, const std::string& name) {
    for (const OptionSpec& o : command.options)
        if (o.name == name) return &o;
    return nullptr;
}
} // namespace

Registrar::Registrar(Command command) {
    auto& all = registry();
    all.push_back(std::move(command));
    std::sort(all.begin(), all.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
}

const std::vector<Command>& commands() {
    return registry();
}

std::optional<std::string> Invocation::value(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

bool parseInvocation(const Command& command, const std::vector<std::string>& args, Invocation& out,
                     std::ostream& err) {
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (onlyPositional || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (word == "--") {
                onlyPositional = true;
                continue;
            }
            out.positional.push_back(word);
            continue;
        }
        const auto eq = word.find('=');
        const std::string name = word.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        std::optional<std::string> value;
        if (eq != std::string::npos) value = word.substr(eq + 1);
        if (name == "help") {
            out.options[name] = std::nullopt;
            continue;
        }
        const OptionSpec* option = findOption(command, name);
        if (!option) {
            err << "trelvik-cli " << command.name << ": unknown option --" << name << "\n";
            return false;
        }
        if (option->value == OptionValue::None && value) {
            err << "trelvik-cli " << command.name << ": option --" << name << " takes no value\n";
            return false;
        }
        if (option->value == OptionValue::Required && !value) {
            // A following option is never a value: "--ids-from --simulate" lacks the file.
            if (i + 1 >= args.size() || args[i + 1].compare(0, 2, "--") == 0) {
                err << "trelvik-cli " << command.name << ": option --" << name << " needs a value\n";
                return false;
            }
            value = args[++i];
        }
        out.options[name] = value;
    }
    return true;
}

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    NativeServices natives;
    return runCli(args, natives, out, err);
}

int runCli(const std::vector<std::string>& args, NativeServices& natives, std::ostream& out,
           std::ostream& err) {
    if (args.empty()) {
        printUsage(err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(out);
        return kExitOk;
    }
    if (args[0] == "--version" || args[0] == "-V") {
        out << "trelvik-cli " << TRELVIK_VERSION << "\n";
        return kExitOk;
    }
    // "trelvik-cli --simulate info" reads as "trelvik-cli info --simulate": options written
    // --name or --name=VALUE may stand before the command, which is the first other word.
    std::size_t at = 0;
    while (at < args.size() && args[at].compare(0, 2, "--") == 0 && args[at].size() > 2)
        ++at;
    if (at == args.size()) {
        err << "trelvik-cli: no command after " << args[0] << "\n";
        printUsage(err);
        return kExitUsage;
    }
    const std::string& name = args[at];
    const auto& all = commands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == name; });
    if (it == all.end()) {
        err << "trelvik-cli: unknown command '" << name << "'\n";
        printUsage(err);
        return kExitUsage;
    }
    std::vector<std::string> rest(args.begin() + static_cast<std::ptrdiff_t>(at) + 1, args.end());
    rest.insert(rest.begin(), args.begin(), args.begin() + static_cast<std::ptrdiff_t>(at));
    Invocation invocation;
    invocation.natives = &natives;
    if (!parseInvocation(*it, rest, invocation, err)) {
        err << "usage: trelvik-cli " << it->synopsis << "\n";
        return kExitUsage;
    }
    if (invocation.has("help")) {
        out << "usage: trelvik-cli " << it->synopsis << "\n\n" << it->help << "\n";
        return kExitOk;
    }
    return it->run(invocation, out, err);
}

std::optional<std::string> notAFile(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(platform::filesystemPath(path), error);
    if (std::filesystem::is_regular_file(status)) return std::nullopt;
    if (std::filesystem::is_directory(status)) return "is a folder, not a file";
    if (std::filesystem::exists(status)) return "is not a regular file";
    return "does not exist";
}

} // namespace trelvik::cli
