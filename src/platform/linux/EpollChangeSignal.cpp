// SPDX-License-Identifier: MIT
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "platform/ChangeSignal.h"

namespace trelvik::platform {

namespace {

// One descriptor for two sources: an eventfd this process raises, and inotify on the file's
// folder. epoll joins them because an event loop waits on exactly one descriptor per watch.
class EpollChangeSignal final : public ChangeSignal {
public:
    bool start(const std::string& file, std::string& error) {
        if (!m_epoll.reset(::epoll_create1(EPOLL_CLOEXEC)) ||
            !m_event.reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)))
            return fail(error);
        if (!add(m_event.get())) return fail(error);
        if (file.empty()) return true;
        const std::filesystem::path path(file);
        m_name = path.filename().string();
        std::string folder = path.parent_path().string();
        if (folder.empty()) folder = ".";
        if (!m_inotify.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))) return fail(error);
        // A writer that replaces the file renames a temporary one over it (IN_MOVED_TO); one
        // that writes in place closes it (IN_CLOSE_WRITE).
        const std::uint32_t mask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE;
        if (::inotify_add_watch(m_inotify.get(), folder.c_str(), mask) < 0) return fail(error);
        if (!add(m_inotify.get())) return fail(error);
        return true;
    }

    int fd() const override { return m_epoll.get(); }

    void raise() override {
        const std::uint64_t one = 1;
        // Only a counter at its maximum refuses, and that is raised already.
        [[maybe_unused]] const auto written = ::write(m_event.get(), &one, sizeof one);
    }

    bool take() override {
        bool changed = false;
        std::uint64_t count = 0;
        if (::read(m_event.get(), &count, sizeof count) == static_cast<ssize_t>(sizeof count)) changed = true;
        if (m_inotify.get() < 0) return changed;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(m_inotify.get(), buffer, sizeof buffer);
            if (got <= 0) break;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & IN_Q_OVERFLOW) || (event->len > 0 && m_name == event->name))
                    changed = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return changed;
    }

private:
    class Owned {
    public:
        ~Owned() {
            if (m_fd >= 0) ::close(m_fd);
        }
        bool reset(int fd) {
            m_fd = fd;
            return fd >= 0;
        }
        int get() const { return m_fd; }

    private:
        int m_fd = -1;
    };

    bool add(int fd) {
        epoll_event entry{};
        entry.events = EPOLLIN;
        entry.data.fd = fd;
        return ::epoll_ctl(m_epoll.get(), EPOLL_CTL_ADD, fd, &entry) == 0;
    }
    static bool fail(std::string& error) {
        error = std::strerror(errno);
        return false;
    }

    Owned m_epoll, m_event, m_inotify;
    std::string m_name;
};

} // namespace

std::unique_ptr<ChangeSignal> makeChangeSignal(const std::string& file, std::string& error) {
    auto signal = std::make_unique<EpollChangeSignal>();
    if (!signal->start(file, error)) return nullptr;
    return signal;
}

} // namespace trelvik::platform
