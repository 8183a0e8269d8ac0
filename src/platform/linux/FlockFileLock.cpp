// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileLock.h"

namespace trelvik::platform {

namespace {

class FlockFileLock final : public FileLock {
public:
    explicit FlockFileLock(int fd) : m_fd(fd) {}
    ~FlockFileLock() override {
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
    }
    FlockFileLock(const FlockFileLock&) = delete;
    FlockFileLock& operator=(const FlockFileLock&) = delete;

private:
    int m_fd;
};

} // namespace

std::unique_ptr<FileLock> lockFileExclusive(const std::string& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot open lock file " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    // flock belongs to the open file description, so two handles in one process exclude
    // each other just as two processes do.
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        error = "cannot lock " + path + ": " + std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FlockFileLock>(fd);
}

} // namespace trelvik::platform
