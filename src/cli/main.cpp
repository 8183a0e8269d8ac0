// SPDX-License-Identifier: MIT
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/NativeServices.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    trelvik::cli::NativeServices natives;
    return trelvik::cli::runCli(args, natives, std::cout, std::cerr);
}
