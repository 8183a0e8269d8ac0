// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <mutex>
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
    // Returns false with a reason in `error` when loading or writing failed.
    virtual bool transact(const std::function<bool(CameraState&)>& change,
                          const std::function<std::string(bool stateOk)>& logLine, std::string& error) = 0;
};

class MemoryStateStore final : public StateStore {
public:
    explicit MemoryStateStore(CameraState initial) : m_state(std::move(initial)) {}
    bool transact(const std::function<bool(CameraState&)>& change, const std::function<std::string(bool stateOk)>& logLine,
                  std::string& error) override;

private:
    std::mutex m_mutex;
    CameraState m_state;
};

// The state file `path`, its lock "<path>.lock" and its log "<path>.log". The file is replaced
// through "<path>.tmp" and a rename, so a reader never sees half a state.
class FileStateStore final : public StateStore {
public:
    explicit FileStateStore(std::string path) : m_path(std::move(path)) {}
    bool transact(const std::function<bool(CameraState&)>& change, const std::function<std::string(bool stateOk)>& logLine,
                  std::string& error) override;
    const std::string& path() const { return m_path; }

private:
    // Missing or empty file: factory state and `missing` set. Unreadable or corrupt: false.
    bool load(CameraState& state, bool& missing, std::string& error) const;
    bool store(const CameraState& state, std::string& error) const;
    void appendLog(const std::string& line) const;

    std::string m_path;
};

} // namespace trelvik::sim
