// SPDX-License-Identifier: MIT
#include "sim/StateStore.h"

#include <filesystem>
#include <system_error>

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

// A command killed while it replaced the state file leaves its temporary behind: replacePlainFile
// names it "<state file>.<12 hexadecimal digits>.tmp". Under the lock no other command is
// writing one, so every such regular file is a leftover; links are left alone.
void removeLeftoverTemporaries(const std::string& target) {
    namespace fs = std::filesystem;
    const fs::path path = platform::filesystemPath(target);
    const std::string prefix = platform::narrowPath(path.filename()) + ".";
    std::error_code error;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = platform::narrowPath(entry->path().filename());
        const bool leftover = name.size() == prefix.size() + 16 &&
                              name.compare(0, prefix.size(), prefix) == 0 &&
                              name.compare(name.size() - 4, 4, ".tmp") == 0 &&
                              name.find_first_not_of("0123456789abcdef", prefix.size()) == name.size() - 4;
        std::error_code ignored;
        if (leftover && entry->symlink_status(ignored).type() == fs::file_type::regular)
            fs::remove(entry->path(), ignored);
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
    return resolve(target, error) && load(target, state, missing, error);
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
