// SPDX-License-Identifier: MIT
#include "support/RunProgram.h"

#include <sys/wait.h>

#include <cstdlib>

namespace trelvik::testing {

int runAndWait(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
    const auto quoted = [](const std::string& word) {
        std::string text = "'";
        for (char c : word)
            text += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return text + "'";
    };
    std::string command = quoted(program);
    for (const std::string& word : args)
        command += " " + quoted(word);
    command += " >" + quoted(outFile.string()) + " 2>" + quoted(errFile.string());
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace trelvik::testing
