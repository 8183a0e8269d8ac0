// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

// Files as tests write and read them: whole texts, lines, and a folder of their own.
namespace trelvik::testing {

// The whole file as bytes; "" when it cannot be read.
inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file with `text`, byte for byte.
inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The file's lines without their line feeds; none when it cannot be read.
inline std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A fresh folder under the system's temporary folder, removed again with everything in it when
// the object dies. Its name is unique across processes, so test programs may run in parallel.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "trelvik-test") {
        // The clock alone collided between two test programs started together; a folder that
        // already exists is never taken, so a clash only costs another draw.
        static std::atomic<int> counter{0};
        static std::random_device entropy;
        for (;;) {
            m_path = std::filesystem::temp_directory_path() /
                     (prefix + "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                      "-" + std::to_string(entropy()) + "-" + std::to_string(counter++));
            std::filesystem::create_directories(m_path.parent_path());
            if (std::filesystem::create_directory(m_path))
                break;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace trelvik::testing
