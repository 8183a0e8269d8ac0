// SPDX-License-Identifier: MIT
#include "platform/linux/SgIoDisk.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "debuglog/DebugLog.h"

namespace trelvik::platform {

namespace {

// glibc's <scsi/sg.h> carries no driver-byte names; this is the one the verdict needs.
constexpr unsigned kDriverSense = 0x08;
constexpr unsigned kDriverByteMask = 0x0f;
constexpr std::size_t kSenseSize = 32;

// Writes the SCSI status, and the sense key and codes when the device sent sense data, so a
// CHECK CONDITION is visible in the debug output though it does not decide the verdict.
void logScsiStatus(const sg_io_hdr_t& header, const unsigned char* sense) {
    if (header.status == 0) return;
    unsigned key = 0, asc = 0, ascq = 0;
    const unsigned written = header.sb_len_wr;
    const unsigned responseCode = written > 0 ? (sense[0] & 0x7Fu) : 0;
    if ((responseCode == 0x70 || responseCode == 0x71) && written >= 14) {
        key = sense[2] & 0x0Fu;
        asc = sense[12];
        ascq = sense[13];
    } else if ((responseCode == 0x72 || responseCode == 0x73) && written >= 4) {
        key = sense[1] & 0x0Fu;
        asc = sense[2];
        ascq = sense[3];
    }
    debuglog::DebugLog("SG_IO status=%02x sense=%x/%02x/%02x", static_cast<unsigned>(header.status), key, asc,
                       ascq);
}

class SgIoDisk final : public platform::Disk {
public:
    explicit SgIoDisk(int fd) : m_fd(fd) {}
    ~SgIoDisk() override {
        if (m_fd >= 0) ::close(m_fd);
    }
    SgIoDisk(const SgIoDisk&) = delete;
    SgIoDisk& operator=(const SgIoDisk&) = delete;

    bool send(const platform::ScsiRequest& request) override {
        if (m_fd < 0 || request.cdb.empty() || request.cdb.size() > UCHAR_MAX ||
            request.data.size() > UINT_MAX)
            return false;
        unsigned char sense[kSenseSize] = {};
        sg_io_hdr_t header{};
        header.interface_id = 'S';
        header.cmd_len = static_cast<unsigned char>(request.cdb.size());
        // The kernel only reads the CDB; the header's field is not const-qualified.
        header.cmdp = const_cast<unsigned char*>(request.cdb.data());
        header.mx_sb_len = static_cast<unsigned char>(kSenseSize);
        header.sbp = sense;
        header.timeout = sgIoTimeoutMs(request.timeout);
        header.dxfer_len = static_cast<unsigned>(request.data.size());
        header.dxferp = request.data.empty() ? nullptr : request.data.data();
        if (request.data.empty())
            header.dxfer_direction = SG_DXFER_NONE;
        else
            header.dxfer_direction =
                request.direction == platform::Direction::In ? SG_DXFER_FROM_DEV : SG_DXFER_TO_DEV;
        // No volume lock exists for an sg node; request.lockVolume has nothing to carry here.
        const int result = ::ioctl(m_fd, SG_IO, &header);
        if (result != 0) {
            // The camera pulled out answers ENODEV here: say so, as the transfer's false cannot.
            const int error = errno;
            debuglog::DebugLog("SG_IO failed: %s", std::strerror(error));
            return false;
        }
        logScsiStatus(header, sense);
        const bool completed = sgIoCompleted(result, header.host_status, header.driver_status);
        if (!completed)
            debuglog::DebugLog("SG_IO not completed: host=%02x driver=%02x",
                               static_cast<unsigned>(header.host_status),
                               static_cast<unsigned>(header.driver_status));
        else if (header.resid > 0 && header.dxfer_direction == SG_DXFER_FROM_DEV)
            // The reply's tail stays as the caller left it; a short reply is judged by its contents.
            debuglog::DebugLog("SG_IO short transfer: %d of %u bytes not sent", header.resid,
                               header.dxfer_len);
        return completed;
    }

private:
    int m_fd;
};

} // namespace

bool sgIoCompleted(int ioctlResult, unsigned hostStatus, unsigned driverStatus) {
    return ioctlResult == 0 && hostStatus == 0 && (driverStatus & kDriverByteMask & ~kDriverSense) == 0;
}

unsigned sgIoTimeoutMs(std::chrono::seconds timeout) {
    const auto seconds = timeout.count();
    if (seconds <= 0) return 0;
    if (static_cast<unsigned long long>(seconds) > UINT_MAX / 1000u) return UINT_MAX;
    return static_cast<unsigned>(seconds) * 1000u;
}

std::unique_ptr<platform::Disk> adoptSgIoDisk(int fd) {
    return std::make_unique<SgIoDisk>(fd);
}

std::unique_ptr<platform::Disk> openSgIoDisk(const std::string& path, int& errorCode) {
    // Read-write is what lets the sg driver pass vendor opcodes; non-blocking keeps the open
    // from waiting on a busy device.
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorCode = errno;
        return nullptr;
    }
    errorCode = 0;
    return std::make_unique<SgIoDisk>(fd);
}

} // namespace trelvik::platform
