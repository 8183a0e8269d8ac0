// SPDX-License-Identifier: MIT
#include "sim/StateStore.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/FileLock.h"
#include "platform/PlainFile.h"
#include "sim/StateJson.h"

namespace trelvik::sim {

namespace {

const char* describe(platform::FileKind kind) {
    switch (kind) {
    case platform::FileKind::Link:
        return "a link";
    case platform::FileKind::Directory:
        return "a folder";
    case platform::FileKind::Device:
        return "a device";
    case platform::FileKind::Fifo:
        return "a FIFO";
    case platform::FileKind::Socket:
        return "a socket";
    default:
        return "something else";
    }
}

// A command killed while it replaced the state file leaves its temporary behind: temporaryNameBeside
// names it "<state file>.<12 hexadecimal digits>.tmp". A folder is listed once per process, so a
// folder of many cameras is read once and not once for each of them; each state file's
// leftovers are removed under its own lock, where no command can be writing one. A temporary
// made after the listing is never on it.
std::vector<std::filesystem::path> leftoverTemporaries(const std::filesystem::path& stateFile) {
    namespace fs = std::filesystem;
    static std::mutex mutex;
    static std::map<fs::path, std::map<std::string, std::vector<fs::path>>> byFolder;
    const fs::path folder = stateFile.has_parent_path() ? stateFile.parent_path() : fs::path(".");
    std::lock_guard<std::mutex> lock(mutex);
    auto [listed, fresh] = byFolder.try_emplace(folder);
    if (fresh) {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::string name = platform::narrowPath(entry->path().filename());
            constexpr std::size_t kSuffix = 1 + 12 + 4; // ".<12 hexadecimal digits>.tmp"
            if (name.size() <= kSuffix || name[name.size() - kSuffix] != '.' ||
                name.compare(name.size() - 4, 4, ".tmp") != 0 ||
                name.find_first_not_of("0123456789abcdef", name.size() - kSuffix + 1) != name.size() - 4)
                continue;
            listed->second[name.substr(0, name.size() - kSuffix)].push_back(entry->path());
        }
    }
    std::vector<fs::path> own;
    const auto mine = listed->second.find(platform::narrowPath(stateFile.filename()));
    if (mine != listed->second.end()) {
        own = std::move(mine->second);
        listed->second.erase(mine);
    }
    return own;
}

// Links are left alone: only a regular file can be one of ours.
void removeLeftoverTemporaries(const std::string& target) {
    for (const std::filesystem::path& leftover : leftoverTemporaries(platform::filesystemPath(target))) {
        std::error_code ignored;
        if (std::filesystem::symlink_status(leftover, ignored).type() == std::filesystem::file_type::regular)
            std::filesystem::remove(leftover, ignored);
    }
}

} // namespace

bool MemoryStateStore::transact(const std::function<bool(CameraState&)>& change,
                                const std::function<std::string(bool stateOk)>& logLine,
                                std::string& /*error*/) {
    std::lock_guard<std::mutex> lock(m_mutex);
    change(m_state);
    // In memory the owner keeps the records itself; the line has nowhere else to go.
    (void)logLine;
    return true;
}

bool MemoryStateStore::look(CameraState& state, bool& missing, std::string& /*error*/) {
    std::lock_guard<std::mutex> lock(m_mutex);
    state = m_state;
    missing = false;
    return true;
}

FileStateStore::FileStateStore(std::string path, StateFileWriter write)
    : m_path(std::move(path)),
      m_write(write ? std::move(write) : StateFileWriter(platform::replacePlainFile)) {}

bool FileStateStore::resolve(std::string& target, std::string& error) const {
    platform::FileKind kind = platform::FileKind::Missing;
    std::string reason;
    if (!platform::inspectPath(m_path, kind, reason)) {
        error = "cannot look at state file " + m_path + ": " + reason;
        return false;
    }
    target = m_path;
    // Someone who links a state file means the file the link leads to. Replacing the link
    // with a copy would quietly part the two; a link that leads nowhere is a mistake to report,
    // not a missing file to create.
    if (kind == platform::FileKind::Link) {
        std::error_code ec;
        const std::filesystem::path final = std::filesystem::canonical(platform::filesystemPath(m_path), ec);
        if (ec) {
            error = "state file " + m_path + " is a link that does not lead to a file (" + ec.message() +
                    "); it was left untouched";
            return false;
        }
        target = platform::narrowPath(final);
        if (!platform::inspectPath(target, kind, reason)) {
            error = "cannot look at state file " + target + ": " + reason;
            return false;
        }
    }
    if (kind == platform::FileKind::Missing || kind == platform::FileKind::Regular) return true;
    const std::string named = target == m_path ? m_path : m_path + " (which leads to " + target + ")";
    error = "state file " + named + " is " + describe(kind) + ", not a regular file; it was left untouched";
    return false;
}

bool FileStateStore::load(const std::string& target, CameraState& state, bool& missing, std::string& error) {
    missing = false;
    platform::FileKind kind = platform::FileKind::Missing;
    std::string reason;
    if (!platform::inspectPath(target, kind, reason)) {
        error = "cannot look at state file " + target + ": " + reason;
        return false;
    }
    if (kind == platform::FileKind::Missing) {
        state = factoryState();
        missing = true;
        return true;
    }
    std::string content;
    // One byte past the limit tells a file at the limit from one above it.
    if (!platform::readPlainFile(target, kMaxStateFileBytes + 1, content, reason)) {
        error = "cannot read state file " + target + ": " + reason;
        return false;
    }
    if (content.size() > kMaxStateFileBytes) {
        error = "state file " + target +
                " is larger than 1 MiB; a camera's state takes a few kilobytes, so it was left untouched";
        return false;
    }
    // An empty file is what mktemp leaves: nothing in it can be lost, so it starts fresh.
    if (content.find_first_not_of(" \t\r\n") == std::string::npos) {
        state = factoryState();
        missing = true;
        return true;
    }
    if (m_parsed && m_parsed->text == content) {
        state = m_parsed->state;
        return true;
    }
    if (!parseState(content, state, reason)) {
        error = "state file " + target + " is unusable (" + reason + "); it was left untouched";
        return false;
    }
    m_parsed = Parsed{std::move(content), state};
    return true;
}

bool FileStateStore::store(const std::string& target, const CameraState& state, std::string& error) {
    std::string text = formatState(state);
    std::string reason;
    if (!m_write(target, text, reason)) {
        error = "cannot save the simulated camera's state file " + target + ": " + reason;
        return false;
    }
    m_parsed = Parsed{std::move(text), state};
    return true;
}

bool FileStateStore::look(CameraState& state, bool& missing, std::string& error) {
    std::lock_guard<std::mutex> turn(m_mutex);
    std::string target;
    if (!resolve(target, error)) return false;
    std::unique_ptr<platform::FileLock> lock;
    if (platform::kReadsNeedTheWritersLock && !(lock = platform::lockFileExclusive(target + ".lock", error)))
        return false;
    return load(target, state, missing, error);
}

bool FileStateStore::transact(const std::function<bool(CameraState&)>& change,
                              const std::function<std::string(bool stateOk)>& logLine, std::string& error) {
    std::lock_guard<std::mutex> turn(m_mutex);
    // A refused path gets no lock or log beside it: next to a device that would be a file in /dev.
    std::string target;
    if (!resolve(target, error)) return false;
    const auto lock = platform::lockFileExclusive(target + ".lock", error);
    if (!lock) return false;
    if (m_swept != target) {
        removeLeftoverTemporaries(target);
        m_swept = target;
    }
    CameraState state;
    bool missing = false;
    bool fine = load(target, state, missing, error);
    if (fine) {
        const bool changed = change(state);
        if (changed || missing) fine = store(target, state, error);
    }
    if (const std::string line = logLine(fine); !line.empty()) {
        // The command happened whether or not it can be recorded; a log that is refused (a
        // planted link) or read-only costs the record, not the command.
        std::string reason;
        if (!platform::appendToPlainFile(target + ".log", line + "\n", reason) && fine)
            error = "cannot append to the simulated camera's log " + target + ".log: " + reason;
    }
    return fine;
}

} // namespace trelvik::sim
