// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/CameraFacts.h"
#include "link/Discovery.h"
#include "platform/Disk.h"
#include "platform/DiskSystem.h"

// The camera operations a front end offers, on the camera a DiskSystem finds by USB identity.
// Failures come back as values with a sentence for a person; what to show and how to end is
// the front end's choice (the command line's exit codes, the window's boxes).
namespace trelvik::link {

// Why an operation produced nothing.
struct ConnectionError {
    enum class Kind {
        NoCamera,     // no drive of the camera's USB device (or, probing, no drive answered)
        OpenFailed,   // the camera's drive would not open
        CameraFailed, // a transfer failed or the camera's reply was rejected
        NotSupported, // the camera answered that it does not know the register
    };
    Kind kind = Kind::CameraFailed;
    CameraIds ids{};               // NoCamera: the identity looked for
    std::string path;              // OpenFailed: what was opened. Example: "/dev/sg2"
    int errorCode = 0;             // OpenFailed: the disk system's error number. Example: 13 (errno)
    bool permissionDenied = false; // OpenFailed: the user may not open the node
    // CameraFailed: why the disk system says the request failed when it was not the camera's
    // doing (DiskSystem::lastFailure); "" when the camera is to blame.
    std::string systemReason;
    // One sentence, no prefix, no final newline. Example: "no camera found (USB 2E7A:0101)"
    std::string text;
};

// An operation's value, or the error that kept it from one.
template <typename T> class Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(ConnectionError error) : m_error(std::move(error)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *m_value; }
    const T& operator*() const { return *m_value; }
    const T* operator->() const { return &*m_value; }
    // Only meaningful when !ok().
    const ConnectionError& error() const { return m_error; }

private:
    std::optional<T> m_value;
    ConnectionError m_error;
};

// The value of an operation that only succeeds or fails.
struct Done {};
using Outcome = Result<Done>;

// What a register probe found.
struct ProbeAnswer {
    std::string drive; // the drive that answered. Example: "simcam"
    std::uint8_t value = 0;
};

class CameraConnection {
public:
    // How a camera operation finds the camera. The command line opens it on demand; the window
    // opens it when it connects, and while it is not connected every operation fails at once,
    // without a request.
    enum class Opening { OnDemand, Explicit };

    // `system` must outlive the connection.
    CameraConnection(platform::DiskSystem& system, CameraIds ids, Opening opening = Opening::OnDemand);
    ~CameraConnection();
    CameraConnection(const CameraConnection&) = delete;
    CameraConnection& operator=(const CameraConnection&) = delete;

    const CameraIds& ids() const { return m_ids; }
    // The drives the connection finds the camera among; the drive probe works on them directly.
    platform::DiskSystem& system() { return m_system; }

    // The camera's drives as FindCameraDisk finds them, at most kMaxCameraDrives.
    std::vector<platform::DriveEntry> drives();

    // Opens the first camera drive unless one is open. NoCamera or OpenFailed otherwise. The
    // operations below open on their own; calling this first tells "no camera" before any of
    // them runs.
    // Only the camera drive of this name (as drives() names it) is used from now on; "" any.
    void selectDevice(std::string name) { m_device = std::move(name); }
    const std::string& device() const { return m_device; }
    // Every camera connected, each as its own drives; a camera's name is its first drive's.
    std::vector<std::vector<platform::DriveEntry>> cameras();
    std::vector<std::string> cameraNames();
    Outcome open();
    bool isOpen() const { return m_disk != nullptr; }
    // Closes the drive; the next operation opens it again (after the camera came back).
    void close();
    // After a failure: whether the camera is still there, by a fresh look at the system.
    bool stillThere();

    Result<std::uint8_t> readRegister(std::uint8_t code);
    Outcome writeRegister(std::uint8_t code, std::uint8_t value);
    // Returns every setting to its factory default.
    Outcome reset();
    // The six clock fields as the camera holds them; they need not be a valid date.
    Result<std::tm> readClock();
    Outcome writeClock(const std::tm& time);
    Result<std::string> readVersion();
    Result<std::string> readModel();
    Result<std::string> readMake();
    // The status bytes of media slots 0-3 (utilities::decodeMediaSlot reads them).
    Result<std::array<std::uint8_t, 4>> readCardStatus();
    Outcome formatCard(std::uint8_t slot);
    // Afterwards the camera's disk goes away and the connection is closed.
    Outcome changeToPcCam();
    // The flash-save bracket around writing many settings: kFlashSaveHold before, kFlashSaveKeep after.
    Outcome setFlashSave(std::uint8_t flag);

    // Register access by the drive probe, which opens and closes each drive itself and needs
    // neither open() nor the USB identity.
    Result<ProbeAnswer> probeRead(std::uint8_t code);
    // The drive that echoed. A drive that answered with another echo is CameraFailed.
    Result<std::string> probeWrite(std::uint8_t code, std::uint8_t value);

private:
    // The error of an operation that came to `status` (Failed or NotSupported).
    ConnectionError failure(Status status, std::string text) const;
    // No drive answered a probe: NoCamera, unless the disk system knows why its request failed.
    ConnectionError noProbeAnswer() const;
    // Runs `operation` on the open disk, opening it first when needed.
    template <typename T, typename Operation> Result<T> onDisk(Operation operation);

    platform::DiskSystem& m_system;
    CameraIds m_ids;
    Opening m_opening;
    std::unique_ptr<platform::Disk> m_disk;
    std::string m_device;
};

} // namespace trelvik::link
