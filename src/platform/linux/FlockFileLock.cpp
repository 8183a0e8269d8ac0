// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // The lock file sits in a folder others may write to: a link planted there is not
    // followed (O_CREAT would otherwise create its target), and a FIFO must not hold the open.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    // flock needs no write access: a lock file that exists in a read-only folder still locks,
    // so reading a camera there keeps working.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        const int denied = errno;
        fd = ::open(path.c_str(), O_RDONLY | kFlags);
        if (fd < 0) errno = denied;
    }
    if (fd < 0) {
        const int failure = errno;
        error =
            "cannot open lock file " + path + ": " +
            (failure == ELOOP ? std::string("it is a link, which is not followed") : std::strerror(failure));
        return nullptr;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        error = "cannot use lock file " + path + ": it is not a regular file";
        ::close(fd);
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
