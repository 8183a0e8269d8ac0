// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/Discovery.h"
#include "platform/Disk.h"
#include "platform/DiskSystem.h"
#include "sim/CameraState.h"
#include "sim/StateStore.h"

// The simulated camera behind the same seams as a real one: a DiskSystem that lists the
// camera's drive and USB device, and Disks that carry requests to the camera's firmware model.
// The camera lives in memory, or in a state file shared by several processes: the file is read
// before and written after every command under an exclusive lock on "<file>.lock", and every
// command is appended to "<file>.log" as one JSON line.
namespace trelvik::sim {

// The host's present time; tests inject a fixed one.
using HostClock = std::function<std::chrono::system_clock::time_point()>;
// Waits out the camera's reply latency; tests inject one that only records.
using Sleeper = std::function<void(std::chrono::milliseconds)>;

struct SimOptions {
    link::CameraIds ids = link::kDefaultCameraIds; // the USB identity the camera shows
    HostClock clock;                               // empty: the system clock
    Sleeper sleep;                                 // empty: really sleep
    StateFileWriter writeStateFile; // empty: the safe replace on disk; tests inject a failing one
};

// The one drive of the camera, as drives() lists it.
inline constexpr const char* kSimDriveName = "simcam";
inline constexpr const char* kSimRootPath = "sim://camera";
inline constexpr const char* kSimOpenPath = "sim:camera";
inline constexpr int kSimDiskNumber = 0;
// Error number open() reports for a path that is not (or no longer) there, as ENOENT.
inline constexpr int kSimNoSuchDevice = 2;

// One command the camera received (or that failed on the way to it).
struct CommandRecord {
    std::vector<std::uint8_t> cdb; // 6 or 16 bytes as sent
    platform::Direction direction = platform::Direction::In;
    std::size_t length = 0;            // data length of the request
    std::vector<std::uint8_t> dataOut; // the payload of a data-out request, else empty
    bool ok = false;                   // what send() returned
    long long timeoutS = 0;
    bool lockVolume = false;
};

// The record as one log line (no line feed), members in this order:
// {"cdb": "FC0B515A...", "dir": "in", "len": 16, "ok": true, "timeout_s": 4, "lock": false};
// data-out records carry "data": "<hex>" after "len". Hex is upper case without blanks.
std::string formatLogLine(const CommandRecord& record);

// How the camera shows itself to the host, which the hot-plug listener is told about.
enum class SimEvent { DiskArrived, DiskRemoved, CaptureArrived, CaptureRemoved };

class SimDiskSystem;

// An open handle on the camera's disk. It stays usable across unplugging: while the camera is
// away, every transfer fails.
class SimDisk : public platform::Disk {
public:
    struct Core;
    explicit SimDisk(std::shared_ptr<Core> core);
    // Carries one request to the camera. False when the camera is unplugged or in PC-camera
    // mode, the command is listed in faults.fail, the latency exceeds the timeout, or the state
    // file cannot be read or written; a data-in request then reads zeros. The state file is
    // only rewritten when the command changed the camera.
    bool send(const platform::ScsiRequest& request) override;

private:
    std::shared_ptr<Core> m_core;
};

class SimDiskSystem : public platform::DiskSystem {
public:
    // A camera in memory, starting from `initial`.
    explicit SimDiskSystem(CameraState initial = factoryState(), SimOptions options = {});
    // A camera in the state file `statePath`; a missing or empty file is created with factory
    // defaults. A file that cannot be used is never written: error() tells why.
    SimDiskSystem(const std::string& statePath, SimOptions options);
    ~SimDiskSystem() override;
    SimDiskSystem(const SimDiskSystem&) = delete;
    SimDiskSystem& operator=(const SimDiskSystem&) = delete;

    // One removable drive "simcam" while the camera is plugged in as a disk, else nothing.
    std::vector<platform::DriveEntry> drives() override;
    // The camera's USB device "USB\VID_xxxx&PID_yyyy\SIM0001": the disk product id with child
    // disk 0, or the capture product id without children in PC-camera mode; nothing unplugged.
    std::vector<platform::UsbDeviceNode> usbDevices() override;
    // Opens "sim:camera" while the camera is plugged in as a disk; else nullptr and errorCode 2.
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override;
    // After a send() that failed because the state file could not be loaded or saved, why;
    // "" after a send() that succeeded or that the camera itself failed.
    // Example: "cannot save the simulated camera's state file /ro/cam.json: Permission denied"
    std::string lastFailure() const override;
    // Both lists from one read of the state.
    Catalog catalog() override;

    // The last problem with the state file or its log, "" while there is none.
    // Example: "state file /tmp/cam.json is unusable (registers.0x01: expected an integer 0-255); it was left
    // untouched"
    std::string error() const;
    // The state file's path; "" for a camera in memory.
    const std::string& statePath() const;
    // The USB identity the camera shows.
    const link::CameraIds& ids() const;
    // The camera's present state (read from the file when there is one); nullopt on a file problem.
    std::optional<CameraState> state();
    // Changes the state under the lock and writes it back. False on a file problem.
    bool update(const std::function<void(CameraState&)>& change);
    // Plugs the camera in (as a disk, which is how a camera always arrives) or pulls it out.
    bool plug();
    bool unplug();
    // The commands this object carried, oldest first (the state file's log holds every process's).
    std::vector<CommandRecord> commandLog() const;
    void clearCommandLog();
    // Called after the camera's presence changed through this object (a command, plug, unplug,
    // or a state read that found another process's change), on the calling thread, with no lock
    // held. A removal event comes before the arrival that replaces it.
    void setEventListener(std::function<void(SimEvent)> listener);

private:
    std::shared_ptr<SimDisk::Core> m_core;
};

} // namespace trelvik::sim
