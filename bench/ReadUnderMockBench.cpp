// SPDX-License-Identifier: MIT
// One register read on the real Linux path (the libudev walk, SG_IO on the camera's sg node)
// under umockdev's mock kernel, against sg_raw sending the same CDB to the same node and
// against /bin/true; the three interleaved, so a busy machine slows each alike. Prints the
// median wall time of each and the ratios. Run it with scripts/bench-read.sh.
//   bench_read_mock TRELVIK-CLI [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/RunProgram.h"
#include "support/umockdev/MockDevices.h"

namespace {

struct Command {
    const char* label;
    std::string program;
    std::vector<std::string> args;
    std::vector<double> ms;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    using trelvik::testing::MockDevices;
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_read_mock TRELVIK-CLI [RUNS]\n");
        return 1;
    }
    if (!MockDevices::preloaded()) {
        std::fprintf(stderr, "bench_read_mock: run it under umockdev-wrapper (scripts/bench-read.sh does)\n");
        return 1;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    MockDevices devices;
    for (const char* name : {"internal-disk", "camera", "optical"})
        if (!devices.plug(name)) {
            std::fprintf(stderr, "bench_read_mock: %s\n", devices.error().c_str());
            return 1;
        }
    trelvik::testing::TempDir scratch("trelvik-bench-read");
    // The camera's sg node and the CDB trelvik-cli read 0x41 sends there.
    std::vector<Command> commands{
        {"trelvik-cli read 0x41", argv[1], {"read", "0x41"}, {}},
        {"sg_raw, the same CDB",
         "sg_raw",
         {"-r", "16", "/dev/sg1", "FC", "0B", "51", "5A", "47", "45", "54", "44", "42", "41", "00", "00",
          "00", "00", "00", "00"},
         {}},
        {"/bin/true", "/bin/true", {}, {}},
    };
    for (int run = 0; run < runs; ++run)
        for (Command& command : commands) {
            const auto start = std::chrono::steady_clock::now();
            const int code = trelvik::testing::runAndWait(
                command.program, command.args, scratch.path() / "out.txt", scratch.path() / "err.txt");
            command.ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (code != 0) {
                std::fprintf(stderr, "bench_read_mock: %s ended with %d: %s\n", command.label, code,
                             trelvik::testing::readText(scratch.path() / "err.txt").c_str());
                return 1;
            }
        }
    std::printf("%-24s %12s\n", "command", "median (ms)");
    for (const Command& command : commands)
        std::printf("%-24s %12.3f\n", command.label, median(command.ms));
    std::printf("read / sg_raw: %.2f, read / true: %.2f (%d interleaved runs)\n",
                median(commands[0].ms) / median(commands[1].ms),
                median(commands[0].ms) / median(commands[2].ms), runs);
    return 0;
}
