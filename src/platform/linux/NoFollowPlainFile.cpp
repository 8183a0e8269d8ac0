// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/PlainFile.h"

namespace trelvik::platform {

namespace {

// O_NOFOLLOW answers a link at the end of the path with ELOOP, whose text ("Too many levels of
// symbolic links") would send a user looking for a loop.
std::string reasonOf(int error) {
    if (error == ELOOP) return "it is a link, which is not followed";
    return std::strerror(error);
}

FileKind kindOf(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISLNK(mode)) return FileKind::Link;
    if (S_ISDIR(mode)) return FileKind::Directory;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISSOCK(mode)) return FileKind::Socket;
    return FileKind::Other;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, where a late write error (NFS, a full disk) still has someone to tell.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool isRegular(int fd, std::string& reason) {
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        reason = reasonOf(errno);
        return false;
    }
    if (!S_ISREG(opened.st_mode)) {
        reason = "it is not a regular file";
        return false;
    }
    return true;
}

bool writeAll(int fd, const std::string& text, std::string& reason) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            reason = reasonOf(errno);
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

} // namespace

std::filesystem::path filesystemPath(const std::string& narrow) {
    return std::filesystem::path(narrow);
}

std::string narrowPath(const std::filesystem::path& path) {
    return path.string();
}

bool inspectPath(const std::string& path, FileKind& kind, std::string& reason) {
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) != 0) {
        if (errno == ENOENT) {
            kind = FileKind::Missing;
            return true;
        }
        reason = reasonOf(errno);
        return false;
    }
    kind = kindOf(seen.st_mode);
    return true;
}

bool readPlainFile(const std::string& path, std::size_t limit, std::string& content, std::string& reason) {
    struct stat seen {};
    if (::lstat(path.c_str(), &seen) != 0) {
        reason = reasonOf(errno);
        return false;
    }
    if (S_ISLNK(seen.st_mode)) {
        reason = reasonOf(ELOOP);
        return false;
    }
    if (!S_ISREG(seen.st_mode)) {
        reason = "it is not a regular file";
        return false;
    }
    // Something may take the file's place between the look and the open: O_NONBLOCK keeps a
    // FIFO from holding us (and the lock) forever, and the descriptor must name what we saw.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        reason = reasonOf(errno);
        return false;
    }
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0) {
        reason = reasonOf(errno);
        return false;
    }
    if (!S_ISREG(opened.st_mode) || opened.st_dev != seen.st_dev || opened.st_ino != seen.st_ino) {
        reason = "it was replaced by something else while being opened";
        return false;
    }
    content.clear();
    content.reserve(
        std::min<std::size_t>(limit, static_cast<std::size_t>(std::max<off_t>(opened.st_size, 0))));
    char buffer[64 * 1024];
    while (content.size() < limit) {
        const ssize_t got = ::read(fd.get(), buffer, std::min(sizeof buffer, limit - content.size()));
        if (got < 0) {
            if (errno == EINTR) continue;
            reason = reasonOf(errno);
            return false;
        }
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

bool replacePlainFile(const std::string& path, const std::string& content, std::string& reason) {
    // O_EXCL never opens what is already there, a planted link included; a name taken by
    // chance is simply drawn again.
    std::string temporary;
    int fd = -1;
    int error = EEXIST;
    for (int attempt = 0; attempt < 16 && fd < 0 && error == EEXIST; ++attempt) {
        temporary = platform::temporaryNameBeside(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) error = errno;
    }
    if (fd < 0) {
        reason = reasonOf(error);
        return false;
    }
    Descriptor file(fd);
    bool fine = writeAll(file.get(), content, reason);
    if (!file.close() && fine) {
        reason = reasonOf(errno);
        fine = false;
    }
    if (fine && ::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = reasonOf(errno);
        fine = false;
    }
    if (!fine) ::unlink(temporary.c_str());
    return fine;
}

bool appendToPlainFile(const std::string& path, const std::string& text, std::string& reason) {
    Descriptor fd(::open(
        path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        reason = reasonOf(errno);
        return false;
    }
    if (!isRegular(fd.get(), reason)) return false;
    if (!writeAll(fd.get(), text, reason)) return false;
    if (!fd.close()) {
        reason = reasonOf(errno);
        return false;
    }
    return true;
}

} // namespace trelvik::platform
