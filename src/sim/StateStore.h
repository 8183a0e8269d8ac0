// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "sim/CameraState.h"

// Where the simulated camera keeps its state between commands: in memory, or in a file that
// several processes share.
namespace trelvik::sim {

class StateStore {
public:
    virtual ~StateStore() = default;
    // Under the store's lock: loads the state, calls `change` (which returns true when the state
    // must be written back), writes it, then appends `logLine(stateOk)` to the command log when that
    // is not empty; stateOk is false when loading or writing failed (`change` is then skipped
    // or its result lost).
    // Returns false with a reason in `error` when loading or writing failed. A log line that
    // cannot be appended does not fail the transaction: it returns true with the reason in `error`.
    virtual bool transact(const std::function<bool(CameraState&)>& change,
                          const std::function<std::string(bool stateOk)>& logLine, std::string& error) = 0;
    // The state as it is now, without the lock and without writing: a missing or empty store
    // gives the factory state with `missing` set. False with a reason when it cannot be read.
    virtual bool look(CameraState& state, bool& missing, std::string& error) = 0;
};

// Puts `content` in place of the file `path`; false with the system's reason.
// Example: a writer given "/ro/cam.json" -> false, reason "Permission denied"
using StateFileWriter =
    std::function<bool(const std::string& path, const std::string& content, std::string& reason)>;

// A state file above this size is refused unread: a camera's state is a few kilobytes, and
// parsing megabytes on every command would make each one take seconds.
inline constexpr std::size_t kMaxStateFileBytes = 1u << 20;

class MemoryStateStore final : public StateStore {
public:
    explicit MemoryStateStore(CameraState initial) : m_state(std::move(initial)) {}
    bool transact(const std::function<bool(CameraState&)>& change,
                  const std::function<std::string(bool stateOk)>& logLine, std::string& error) override;
    bool look(CameraState& state, bool& missing, std::string& error) override;

private:
    std::mutex m_mutex;
    CameraState m_state;
};

// The state file `path`, its lock "<path>.lock" and its log "<path>.log". The file is replaced
// through a fresh temporary file beside it and a rename, so a reader never sees half a state.
// The path must name a regular file or nothing; a link there is followed to its final target,
// whose folder then also holds the lock, the log and the temporary file, so every process that
// reaches the same file by any name shares one lock. Anything else (a device, FIFO, socket,
// folder, a dangling link or a loop) is refused and left alone.
class FileStateStore final : public StateStore {
public:
    // `write` replaces the file; empty: the platform's safe replace.
    explicit FileStateStore(std::string path, StateFileWriter write = {});
    bool transact(const std::function<bool(CameraState&)>& change,
                  const std::function<std::string(bool stateOk)>& logLine, std::string& error) override;
    // Needs no lock where the platform lets a reader see one state or the next while the file is
    // replaced whole (not on Windows).
    bool look(CameraState& state, bool& missing, std::string& error) override;
    const std::string& path() const { return m_path; }

private:
    // The file the state lives in: the path itself, or where the link there finally leads.
    bool resolve(std::string& target, std::string& error) const;
    // Missing or empty file: factory state and `missing` set. Unreadable, too large, corrupt: false.
    bool load(const std::string& target, CameraState& state, bool& missing, std::string& error);
    bool store(const std::string& target, const CameraState& state, std::string& error);

    // The last state read or written with the text it came from: a command that finds the same
    // text does not parse it again. Comparing the text, not the file's identity, stays right
    // when another process's quick rewrite reuses the inode within one timestamp tick.
    struct Parsed {
        std::string text;
        CameraState state;
    };

    std::string m_path;
    StateFileWriter m_write;
    std::mutex m_mutex; // threads of one process take turns on m_parsed, as processes on the file
    std::optional<Parsed> m_parsed;
    std::string m_swept; // the state file whose leftover temporaries were removed, once per process
};

} // namespace trelvik::sim
