// SPDX-License-Identifier: MIT
#include "sim/StateStore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/FileLock.h"
#include "sim/StateJson.h"

namespace trelvik::sim {

bool MemoryStateStore::transact(const std::function<bool(CameraState&)>& change,
                                const std::function<std::string(bool stateOk)>& logLine, std::string& /*error*/) {
    std::lock_guard<std::mutex> lock(m_mutex);
    change(m_state);
    // In memory the owner keeps the records itself; the line has nowhere else to go.
    (void)logLine;
    return true;
}

bool FileStateStore::load(CameraState& state, bool& missing, std::string& error) const {
    missing = false;
    std::error_code ec;
    if (!std::filesystem::exists(m_path, ec)) {
        state = factoryState();
        missing = true;
        return true;
    }
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        error = "cannot read state file " + m_path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    // An empty file is what mktemp leaves: nothing in it can be lost, so it starts fresh.
    if (content.find_first_not_of(" \t\r\n") == std::string::npos) {
        state = factoryState();
        missing = true;
        return true;
    }
    std::string reason;
    if (!parseState(content, state, reason)) {
        error = "state file " + m_path + " is unusable (" + reason + "); it was left untouched";
        return false;
    }
    return true;
}

bool FileStateStore::store(const CameraState& state, std::string& error) const {
    const std::string temporary = m_path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << formatState(state);
        out.flush();
        if (!out) {
            error = "cannot write state file " + temporary;
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, m_path, ec);
    if (ec) {
        error = "cannot replace state file " + m_path + ": " + ec.message();
        return false;
    }
    return true;
}

void FileStateStore::appendLog(const std::string& line) const {
    std::ofstream out(m_path + ".log", std::ios::binary | std::ios::app);
    out << line << '\n';
}

bool FileStateStore::transact(const std::function<bool(CameraState&)>& change,
                              const std::function<std::string(bool stateOk)>& logLine, std::string& error) {
    const auto lock = platform::lockFileExclusive(m_path + ".lock", error);
    if (!lock) return false;
    CameraState state;
    bool missing = false;
    bool fine = load(state, missing, error);
    if (fine) {
        const bool changed = change(state);
        if (changed || missing) fine = store(state, error);
    }
    if (const std::string line = logLine(fine); !line.empty()) appendLog(line);
    return fine;
}

} // namespace trelvik::sim
