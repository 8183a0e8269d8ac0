// SPDX-License-Identifier: MIT
#include "sim/SimDiskSystem.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

#include <nlohmann/json.hpp>

#include "sim/CameraFirmware.h"
#include "sim/StateStore.h"
#include "text/Hex.h"

namespace trelvik::sim {

namespace {

enum class Presence { None, Disk, Capture };

Presence presenceOf(const CameraState& state) {
    if (!state.plugged) return Presence::None;
    return state.mode == CameraMode::Disk ? Presence::Disk : Presence::Capture;
}

} // namespace

std::string formatLogLine(const CommandRecord& record) {
    nlohmann::ordered_json line = nlohmann::ordered_json::object();
    line["cdb"] = text::hexDigits(record.cdb);
    line["dir"] = record.direction == platform::Direction::In ? "in" : "out";
    line["len"] = record.length;
    if (record.direction == platform::Direction::Out) line["data"] = text::hexDigits(record.dataOut);
    line["ok"] = record.ok;
    line["timeout_s"] = record.timeoutS;
    line["lock"] = record.lockVolume;
    return line.dump();
}

struct SimDisk::Core {
    Core(std::unique_ptr<StateStore> store, SimOptions options, std::string path)
        : store(std::move(store)), options(std::move(options)), statePath(std::move(path)) {
        if (!this->options.clock) this->options.clock = [] { return std::chrono::system_clock::now(); };
        if (!this->options.sleep)
            this->options.sleep = [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); };
    }

    std::unique_ptr<StateStore> store;
    SimOptions options;
    std::string statePath;

    mutable std::mutex mutex; // guards the members below
    std::string error;
    std::string failure; // why the last send() failed, when the state file was to blame
    std::vector<CommandRecord> log;
    std::function<void(SimEvent)> listener;
    Presence lastPresence = Presence::None;

    void setError(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex);
        error = text;
    }

    // Tells the listener how the camera's presence changed since it was last seen.
    void notify(Presence now) {
        std::function<void(SimEvent)> call;
        Presence before;
        {
            std::lock_guard<std::mutex> lock(mutex);
            before = lastPresence;
            lastPresence = now;
            call = listener;
        }
        if (before == now || !call) return;
        if (before == Presence::Disk) call(SimEvent::DiskRemoved);
        if (before == Presence::Capture) call(SimEvent::CaptureRemoved);
        if (now == Presence::Disk) call(SimEvent::DiskArrived);
        if (now == Presence::Capture) call(SimEvent::CaptureArrived);
    }

    // Runs `change` on the state; returns the state as it was left, or nullopt on a file problem.
    std::optional<CameraState> transact(const std::function<bool(CameraState&)>& change) {
        std::optional<CameraState> seen;
        std::string reason;
        const bool fine = store->transact(
            [&](CameraState& state) {
                const bool changed = change(state);
                seen = state;
                return changed;
            },
            [](bool) { return std::string(); }, reason);
        if (!fine) {
            setError(reason);
            return std::nullopt;
        }
        setError("");
        if (seen) notify(presenceOf(*seen));
        return seen;
    }

    // The state as it is now, without changing it; nullopt on a file problem.
    std::optional<CameraState> look(bool& missing) {
        CameraState state;
        std::string reason;
        if (!store->look(state, missing, reason)) {
            setError(reason);
            return std::nullopt;
        }
        setError("");
        notify(presenceOf(state));
        return state;
    }

    bool send(const platform::ScsiRequest& request) {
        CommandRecord record;
        record.cdb.assign(request.cdb.begin(), request.cdb.end());
        record.direction = request.direction;
        record.length = request.data.size();
        if (request.direction == platform::Direction::Out)
            record.dataOut.assign(request.data.begin(), request.data.end());
        record.timeoutS = request.timeout.count();
        record.lockVolume = request.lockVolume;

        const bool dataIn = request.direction == platform::Direction::In;
        if (dataIn) std::fill(request.data.begin(), request.data.end(), std::uint8_t{0});

        bool answered = false;
        int latencyMs = 0;
        std::optional<Presence> presence;
        std::string reason;
        const auto now = options.clock();
        const long long timeoutMs = static_cast<long long>(request.timeout.count()) * 1000;
        const bool fine = store->transact(
            [&](CameraState& state) {
                presence = presenceOf(state);
                // A camera that is away, or no longer a disk, never sees the request.
                if (*presence != Presence::Disk) return false;
                // Most commands only read; not rewriting the file for them keeps a camera in a
                // read-only folder readable.
                const CameraState before = state;
                bool unplugNow = false;
                if (state.faults.unplugAfter > 0) unplugNow = --state.faults.unplugAfter == 0;
                const std::string name = commandName(request.cdb, request.direction);
                if (name.empty() || state.faults.fail.count(name) == 0) {
                    answerCommand(state, request, now);
                    answered = true;
                }
                latencyMs = state.faults.latencyMs;
                // The camera did its work, but the host gave up waiting for the reply.
                if (latencyMs > timeoutMs) answered = false;
                if (unplugNow) state.plugged = false;
                presence = presenceOf(state);
                return state != before;
            },
            [&](bool stateOk) {
                record.ok = answered && stateOk;
                return formatLogLine(record);
            },
            reason);
        record.ok = answered && fine;
        if (!record.ok && dataIn) std::fill(request.data.begin(), request.data.end(), std::uint8_t{0});
        {
            std::lock_guard<std::mutex> lock(mutex);
            log.push_back(record);
            // On success `reason` holds a log that could not be appended, or nothing.
            error = reason;
            failure = fine ? std::string() : reason;
        }
        if (presence) notify(*presence);
        if (latencyMs > 0)
            options.sleep(std::chrono::milliseconds(std::min<long long>(latencyMs, timeoutMs)));
        return record.ok;
    }
};

SimDisk::SimDisk(std::shared_ptr<Core> core) : m_core(std::move(core)) {}

bool SimDisk::send(const platform::ScsiRequest& request) {
    return m_core->send(request);
}

SimDiskSystem::SimDiskSystem(CameraState initial, SimOptions options) {
    const Presence presence = presenceOf(initial);
    m_core = std::make_shared<SimDisk::Core>(std::make_unique<MemoryStateStore>(std::move(initial)),
                                             std::move(options), std::string());
    m_core->lastPresence = presence;
}

SimDiskSystem::SimDiskSystem(const std::string& statePath, SimOptions options) {
    auto store = std::make_unique<FileStateStore>(statePath, options.writeStateFile);
    m_core = std::make_shared<SimDisk::Core>(std::move(store), std::move(options), statePath);
    // The first look finds a corrupt file before any command; a missing one is created, so
    // that every process sees the same camera from the start.
    bool missing = false;
    auto state = m_core->look(missing);
    if (state && missing) state = m_core->transact([](CameraState&) { return false; });
    if (state) m_core->lastPresence = presenceOf(*state);
}

SimDiskSystem::~SimDiskSystem() = default;

namespace {

std::vector<platform::DriveEntry> drivesOf(const std::optional<CameraState>& state) {
    if (!state || presenceOf(*state) != Presence::Disk) return {};
    platform::DriveEntry drive;
    drive.name = kSimDriveName;
    drive.rootPath = kSimRootPath;
    drive.type = platform::DriveType::Removable;
    drive.diskNumber = kSimDiskNumber;
    drive.openPath = kSimOpenPath;
    drive.probed = true;
    return {drive};
}

std::vector<platform::UsbDeviceNode> usbDevicesOf(const std::optional<CameraState>& state,
                                                  const link::CameraIds& ids) {
    if (!state) return {};
    const Presence presence = presenceOf(*state);
    if (presence == Presence::None) return {};
    const bool disk = presence == Presence::Disk;
    char instanceId[64];
    std::snprintf(instanceId, sizeof instanceId, "USB\\VID_%04X&PID_%04X\\SIM0001", ids.vendor,
                  disk ? ids.diskProduct : ids.captureProduct);
    platform::UsbDeviceNode node;
    node.instanceId = instanceId;
    if (disk) node.childDiskNumbers = {kSimDiskNumber};
    return {node};
}

} // namespace

std::vector<platform::DriveEntry> SimDiskSystem::drives() {
    return drivesOf(state());
}

std::vector<platform::UsbDeviceNode> SimDiskSystem::usbDevices() {
    return usbDevicesOf(state(), m_core->options.ids);
}

platform::DiskSystem::Catalog SimDiskSystem::catalog() {
    const auto now = state();
    return {drivesOf(now), usbDevicesOf(now, m_core->options.ids)};
}

std::unique_ptr<platform::Disk> SimDiskSystem::open(const std::string& openPath, int& errorCode) {
    const auto state = this->state();
    if (openPath != kSimOpenPath || !state || presenceOf(*state) != Presence::Disk) {
        errorCode = kSimNoSuchDevice;
        return nullptr;
    }
    errorCode = 0;
    return std::make_unique<SimDisk>(m_core);
}

std::string SimDiskSystem::lastFailure() const {
    std::lock_guard<std::mutex> lock(m_core->mutex);
    return m_core->failure;
}

std::string SimDiskSystem::error() const {
    std::lock_guard<std::mutex> lock(m_core->mutex);
    return m_core->error;
}

const std::string& SimDiskSystem::statePath() const {
    return m_core->statePath;
}

const link::CameraIds& SimDiskSystem::ids() const {
    return m_core->options.ids;
}

std::optional<CameraState> SimDiskSystem::state() {
    // A look takes no lock: finding and opening the camera, and every watch, leave the lock to
    // the commands, so a command on one camera takes it once.
    bool missing = false;
    return m_core->look(missing);
}

bool SimDiskSystem::update(const std::function<void(CameraState&)>& change) {
    return m_core
        ->transact([&](CameraState& state) {
            change(state);
            return true;
        })
        .has_value();
}

bool SimDiskSystem::plug() {
    return update([](CameraState& state) {
        state.plugged = true;
        state.mode = CameraMode::Disk;
    });
}

bool SimDiskSystem::unplug() {
    return update([](CameraState& state) { state.plugged = false; });
}

std::vector<CommandRecord> SimDiskSystem::commandLog() const {
    std::lock_guard<std::mutex> lock(m_core->mutex);
    return m_core->log;
}

void SimDiskSystem::clearCommandLog() {
    std::lock_guard<std::mutex> lock(m_core->mutex);
    m_core->log.clear();
}

void SimDiskSystem::setEventListener(std::function<void(SimEvent)> listener) {
    std::lock_guard<std::mutex> lock(m_core->mutex);
    m_core->listener = std::move(listener);
}

} // namespace trelvik::sim
