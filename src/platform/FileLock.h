// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace trelvik::platform {

// An exclusive advisory lock on one file, held for as long as the object lives. Processes
// that share a file agree to take this lock before they read, change and write it back.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// Creates `path` when it is missing and waits until the exclusive lock on it is held.
// Returns nullptr and a readable reason in `error` when the file cannot be opened or locked.
// Example: lockFileExclusive("/tmp/cam.json.lock", error) -> lock held until the result dies.
std::unique_ptr<FileLock> lockFileExclusive(const std::string& path, std::string& error);

} // namespace trelvik::platform
