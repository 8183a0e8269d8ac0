// SPDX-License-Identifier: MIT
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"

namespace trelvik::cli {

namespace {

int runDevices(CameraSession& session, const Invocation& /*invocation*/, std::ostream& out,
               std::ostream& /*err*/) {
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

const CameraRegistrar kRegistrar{
    {.name = "devices",
     .synopsis = "devices [--simulate[=STATE.json]] [--ids-from=FILE]",
     .help = "Lists the camera's drives as JSON, [{\"name\", \"disk\", \"path\"}], in the order\n"
             "the tool finds them (the first is the one it connects to). An empty list\n"
             "exits 4.\n",
     .opening = Opening::Drives,
     .run = &runDevices}};

} // namespace

} // namespace trelvik::cli
