// SPDX-License-Identifier: MIT
#include "sim/SimulatedCamera.h"

#include "sim/SimCameraFolder.h"

namespace trelvik::sim {

std::unique_ptr<SimDiskSystem> openSimulatedCamera(const std::optional<std::string>& statePath,
                                                   std::string& error, SimOptions options) {
    if (!statePath || statePath->empty())
        return std::make_unique<SimDiskSystem>(factoryState(), std::move(options));
    auto system = std::make_unique<SimDiskSystem>(*statePath, std::move(options));
    if (std::string problem = system->error(); !problem.empty()) {
        error = "simulated camera: " + problem;
        return nullptr;
    }
    return system;
}

std::unique_ptr<platform::DiskSystem> makeSimulatedDiskSystem(std::optional<std::string> statePath,
                                                              std::string& error) {
    if (statePath && namesCameraFolder(*statePath)) return SimCameraFolder::open(*statePath, error);
    return openSimulatedCamera(statePath, error);
}

} // namespace trelvik::sim
