// SPDX-License-Identifier: MIT
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"

namespace trelvik::cli {

namespace {

int runDevices(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 0, "devices", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.start(invocation, err); rc != kExitOk) return rc;
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    // One camera as before; with many, every camera's drives, each camera after the other.
    auto cameras = session.camera().cameras();
    if (cameras.size() <= 1) cameras = {session.camera().drives()};
    bool any = false;
    for (const auto& drives : cameras)
        for (const platform::DriveEntry& drive : drives) {
            list.push_back({{"name", drive.name}, {"disk", drive.diskNumber}, {"path", drive.openPath}});
            any = true;
        }
    printJson(out, list);
    return any ? kExitOk : kExitNoCamera;
}

const Registrar kRegistrar{
    {"devices", "devices [--simulate[=STATE.json]] [--ids-from=FILE]",
     std::string("Lists the camera's drives as JSON, [{\"name\", \"disk\", \"path\"}], in the order\n"
                 "the tool finds them (the first is the one it connects to). An empty list\n"
                 "exits 4.\n") +
         kCameraOptionsHelp,
     cameraOptions(), &runDevices}};

} // namespace

} // namespace trelvik::cli
