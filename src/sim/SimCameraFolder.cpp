// SPDX-License-Identifier: MIT
#include "sim/SimCameraFolder.h"

#include <algorithm>
#include <filesystem>

namespace trelvik::sim {

namespace {
constexpr const char* kOpenPrefix = "sim:";
} // namespace

bool namesCameraFolder(const std::string& path) {
    std::error_code ignored;
    return (!path.empty() && path.back() == '/') || std::filesystem::is_directory(path, ignored);
}

std::unique_ptr<SimCameraFolder> SimCameraFolder::open(const std::string& folder, std::string& error,
                                                       SimOptions options) {
    std::error_code failure;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure))
        if (entry.path().extension() == ".json") files.push_back(entry.path());
    if (failure) {
        error = "simulated cameras: cannot read the folder " + folder + ": " + failure.message();
        return nullptr;
    }
    if (files.empty()) {
        error = "simulated cameras: the folder " + folder + " holds no *.json camera";
        return nullptr;
    }
    std::sort(files.begin(), files.end());
    auto cameras = std::unique_ptr<SimCameraFolder>(new SimCameraFolder());
    for (const auto& file : files) {
        auto system = std::make_unique<SimDiskSystem>(file.string(), options);
        if (std::string problem = system->error(); !problem.empty()) {
            error = "simulated camera: " + problem;
            return nullptr;
        }
        cameras->m_cameras.push_back({file.stem().string(), std::move(system)});
    }
    return cameras;
}

thread_local const SimDiskSystem* SimCameraFolder::s_last = nullptr;

void SimCameraFolder::addCamera(std::size_t index, Catalog&& own, Catalog& all) const {
    const Camera& camera = m_cameras[index];
    for (platform::DriveEntry& drive : own.drives) {
        drive.name = camera.name;
        drive.openPath = kOpenPrefix + camera.name;
        drive.diskNumber = static_cast<int>(index);
        all.drives.push_back(std::move(drive));
    }
    for (platform::UsbDeviceNode& node : own.usbDevices) {
        // Each camera is a USB device of its own.
        node.instanceId += "-" + camera.name;
        for (int& child : node.childDiskNumbers)
            if (child >= 0) child = static_cast<int>(index);
        all.usbDevices.push_back(std::move(node));
    }
}

platform::DiskSystem::Catalog SimCameraFolder::catalog() {
    Catalog all;
    for (std::size_t i = 0; i < m_cameras.size(); ++i)
        addCamera(i, m_cameras[i].system->catalog(), all);
    return all;
}

std::vector<platform::DriveEntry> SimCameraFolder::drives() {
    Catalog all;
    for (std::size_t i = 0; i < m_cameras.size(); ++i)
        addCamera(i, {m_cameras[i].system->drives(), {}}, all);
    return all.drives;
}

std::vector<platform::UsbDeviceNode> SimCameraFolder::usbDevices() {
    Catalog all;
    for (std::size_t i = 0; i < m_cameras.size(); ++i)
        addCamera(i, {{}, m_cameras[i].system->usbDevices()}, all);
    return all.usbDevices;
}

std::unique_ptr<platform::Disk> SimCameraFolder::open(const std::string& openPath, int& errorCode) {
    for (const Camera& camera : m_cameras)
        if (openPath == kOpenPrefix + camera.name) {
            s_last = camera.system.get();
            return camera.system->open(kSimOpenPath, errorCode);
        }
    errorCode = kSimNoSuchDevice;
    return nullptr;
}

std::string SimCameraFolder::lastFailure() const {
    return s_last ? s_last->lastFailure() : std::string();
}

} // namespace trelvik::sim
