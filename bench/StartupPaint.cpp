// SPDX-License-Identifier: MIT
// Time from starting a program to its window's first paint: the full tool and the settings
// tool on the simulated camera, against an empty QMainWindow built the same way. Each program
// says "first paint" on stdout and ends (TRELVIK_EXIT_AFTER_FIRST_PAINT=1).
//   bench_startup_paint [--runs N]
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    const char* name;
    std::vector<std::string> argv;
    std::vector<double> millis;
};

// The child's environment: ours, painting off screen unless a platform is chosen, ending
// after its first paint, and under a user name of its own so that a tool already running
// does not take the start as a request to come to the front.
std::vector<std::string> childEnvironment() {
    std::vector<std::string> words;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string word = *entry;
        if (word.rfind("TRELVIK_EXIT_AFTER_FIRST_PAINT=", 0) == 0 || word.rfind("USER=", 0) == 0) continue;
        words.push_back(word);
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) words.push_back("QT_QPA_PLATFORM=offscreen");
    words.push_back("TRELVIK_EXIT_AFTER_FIRST_PAINT=1");
    words.push_back("USER=trelvik-bench-" + std::to_string(::getpid()));
    return words;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    for (auto& word : words)
        list.push_back(word.data());
    list.push_back(nullptr);
    return list;
}

// Milliseconds from the spawn to the "first paint" line; nullopt when it never came.
std::optional<double> timeOnce(Program& program, std::vector<std::string>& environment) {
    int out[2];
    if (::pipe(out) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", 0, 0);
    auto argv = pointers(program.argv);
    auto envp = pointers(environment);
    pid_t pid = 0;
    const auto start = Clock::now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(spawned));
        return std::nullopt;
    }
    std::string seen;
    std::optional<double> millis;
    const auto limit = start + std::chrono::seconds(20);
    while (!millis && Clock::now() < limit) {
        pollfd wait{out[0], POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0) continue;
        char buffer[256];
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        if (got <= 0) break;
        seen.append(buffer, static_cast<std::size_t>(got));
        if (seen.find("first paint\n") != std::string::npos)
            millis = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    ::close(out[0]);
    if (!millis) ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return millis;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 15;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));

    std::vector<Program> programs = {
        {"bare QMainWindow", {TRELVIK_BARE_WINDOW_EXE}, {}},
        {"full tool", {TRELVIK_RUN_DIR "/full/trelvik", "--simulate"}, {}},
        {"settings tool", {TRELVIK_RUN_DIR "/settings/trelvik", "--simulate"}, {}},
    };
    auto environment = childEnvironment();
    // One start each to warm the file cache, then the programs in turn, so that a noisy moment
    // of the machine falls on all of them alike.
    for (auto& program : programs)
        if (!timeOnce(program, environment)) {
            std::fprintf(stderr, "%s never reported its first paint\n", program.name);
            return 1;
        }
    for (int run = 0; run < runs; ++run)
        for (auto& program : programs)
            if (const auto millis = timeOnce(program, environment)) program.millis.push_back(*millis);

    std::printf("start to first paint, %d runs, QT_QPA_PLATFORM=%s\n", runs,
                std::getenv("QT_QPA_PLATFORM") != nullptr ? std::getenv("QT_QPA_PLATFORM") : "offscreen");
    std::printf("%-18s %9s %9s %9s %8s\n", "program", "median", "min", "max", "x bare");
    const double bare = median(programs[0].millis);
    bool met = true;
    for (const auto& program : programs) {
        const double m = median(program.millis);
        const auto [low, high] = std::minmax_element(program.millis.begin(), program.millis.end());
        std::printf("%-18s %6.1f ms %6.1f ms %6.1f ms %7.2fx\n", program.name, m, *low, *high, m / bare);
        if (&program != &programs[0]) met = met && m < 250.0 && m <= 1.5 * bare;
    }
    std::printf("goal (median under 250 ms and at most 1.5x the bare window): %s\n", met ? "met" : "NOT met");
    return 0;
}
