// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DiskSystem.h"
#include "sim/SimDiskSystem.h"

namespace trelvik::sim {

// Many simulated cameras at once: every "*.json" file of a folder is one camera kept in that
// state file (with its lock and log beside it, as for a single camera). Each camera's drive
// is named after its file ("cam1" for cam1.json), in order of name.
class SimCameraFolder final : public platform::DiskSystem {
public:
    // Null and `error` when the folder cannot be read or a file is no usable state file.
    static std::unique_ptr<SimCameraFolder> open(const std::string& folder, std::string& error,
                                                 SimOptions options = {});

    std::vector<platform::DriveEntry> drives() override;
    std::vector<platform::UsbDeviceNode> usbDevices() override;
    // Both lists from one read of each camera's state file.
    Catalog catalog() override;
    // "sim:NAME" opens the camera of NAME.json.
    std::unique_ptr<platform::Disk> open(const std::string& openPath, int& errorCode) override;
    // Of the camera this thread opened last: cameras are worked on side by side.
    std::string lastFailure() const override;

private:
    struct Camera {
        std::string name;
        std::unique_ptr<SimDiskSystem> system;
    };
    // One camera's lists as the folder shows them: its drive named after its file, its disk
    // numbered by its place.
    void addCamera(std::size_t index, Catalog&& own, Catalog& all) const;

    std::vector<Camera> m_cameras;
    static thread_local const SimDiskSystem* s_last;
};

// True when a --simulate argument names a folder of cameras: it ends in "/" or is a folder.
bool namesCameraFolder(const std::string& path);

} // namespace trelvik::sim
