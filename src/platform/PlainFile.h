// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <filesystem>
#include <random>
#include <string>

// Small files that a tool keeps beside each other in a folder other people can write to (the
// simulated camera's state file, its log): read, replaced and appended to without following
// a link someone planted there, and without hanging on a FIFO or a device that took a file's
// place. The reasons these calls give are the system's words only ("Permission denied"); the
// caller names the file.
namespace trelvik::platform {

// What a path names, looked at without opening it and without following a link at its end.
enum class FileKind { Missing, Regular, Link, Directory, Device, Fifo, Socket, Other };

// False with a reason when the system cannot tell (a folder on the way is unreadable or is a
// file); a path that is simply not there is FileKind::Missing, not a failure.
// Example: inspectPath("/dev/null", kind, reason) -> true, kind Device
bool inspectPath(const std::string& path, FileKind& kind, std::string& reason);

// Reads at most `limit` bytes of the regular file `path` into `content`. Refuses a link, and
// anything that is not a regular file when it is opened or that was swapped for another file
// between the look and the open.
// Example: readPlainFile("/tmp/cam.json", 1 << 20, text, reason) -> true, text "{...}"
bool readPlainFile(const std::string& path, std::size_t limit, std::string& content, std::string& reason);

// Replaces `path` with a regular file holding `content`. The new file is created exclusively,
// under a name nobody can guess, in the folder of `path`, and renamed over it, so a reader sees
// the old or the new content and never half of it. On failure the new file is gone again and
// `path` is as it was.
// Example: replacePlainFile("/ro/cam.json", text, reason) -> false, reason "Permission denied"
bool replacePlainFile(const std::string& path, const std::string& content, std::string& reason);

// The name of the temporary replacePlainFile writes beside `path` before the rename: one that a
// process planting links beside the file cannot know in advance. Both systems' files use it,
// and the simulated camera recognises a killed command's leftovers by it.
// Example: "/data/cam.json" -> "/data/cam.json.3f9a0c1d2e4b.tmp".
inline std::string temporaryNameBeside(const std::string& path) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::random_device random;
    std::string name = path + ".";
    for (int i = 0; i < 12; ++i)
        name.push_back(kDigits[random() % 16]);
    return name + ".tmp";
}

// Whether a file that replacePlainFile rewrites may be read without its writers' lock. A POSIX
// rename swaps the name over an open reader at once; on Windows (and under Wine) a file replaced
// while another process reads it lost concurrent writes, so there readers take the lock too.
#ifdef _WIN32
inline constexpr bool kReadsNeedTheWritersLock = true;
#else
inline constexpr bool kReadsNeedTheWritersLock = false;
#endif

// Appends `text` to the regular file `path`, creating it when missing. Refuses a link and
// anything but a regular file; nothing is written then.
// Example: appendToPlainFile("/tmp/cam.json.log", "{...}\n", reason) -> true
bool appendToPlainFile(const std::string& path, const std::string& text, std::string& reason);

// A path of narrow text (UTF-8 on Linux, the ANSI code page on Windows) for the std::filesystem
// calls, and back. The C++ library's own narrow conversion on Windows is not the code page's,
// so a folder named "Wald\x96Kamera" (an en dash in Windows-1252) would not be found.
// Example: filesystemPath("C:\\Wald\x96Kamera").wstring() -> L"C:\\Wald\u2013Kamera" on Windows
std::filesystem::path filesystemPath(const std::string& narrow);
std::string narrowPath(const std::filesystem::path& path);

} // namespace trelvik::platform
