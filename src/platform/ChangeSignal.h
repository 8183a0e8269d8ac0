// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

namespace trelvik::platform {

// A descriptor an event loop can wait on, made readable by this process (raise) or by another
// process replacing, writing or removing one file. Files are watched through their folder, so
// a file replaced by a rename is still seen.
class ChangeSignal {
public:
    virtual ~ChangeSignal() = default;
    // Readable while something happened that take() has not cleared yet.
    virtual int fd() const = 0;
    // Makes fd() readable. Safe from any thread.
    virtual void raise() = 0;
    // Clears the descriptor. True when raise() was called or the watched file changed since
    // the last call; other files of the folder wake fd() but do not count.
    virtual bool take() = 0;
};

// A signal that also watches `file` ("" for none). Returns nullptr with the system's reason in
// `error` when the descriptor cannot be made or the file's folder cannot be watched.
// Example: makeChangeSignal("/tmp/cam.json", error)
std::unique_ptr<ChangeSignal> makeChangeSignal(const std::string& file, std::string& error);

} // namespace trelvik::platform
