// SPDX-License-Identifier: MIT
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/CameraSession.h"
#include "cli/JsonOutput.h"

namespace trelvik::cli {

namespace {

int runInfo(CameraSession& session, const Invocation& /*invocation*/, std::ostream& out, std::ostream& err) {
    link::CameraConnection& camera = session.camera();

    nlohmann::ordered_json info = nlohmann::ordered_json::object();
    std::string systemReason; // the first failure the host, not the camera, is to blame for
    bool allRead = true;
    const auto put = [&](const char* key, const link::Result<std::string>& text) {
        if (text) {
            info[key] = *text;
            return;
        }
        info[key] = nullptr;
        allRead = false;
        if (systemReason.empty()) systemReason = text.error().systemReason;
    };
    put("version", camera.readVersion());
    put("model", camera.readModel());
    put("make", camera.readMake());

    // Identity texts are the camera's bytes: never let the dump throw on them.
    printJson(out, info);
    if (allRead) return kExitOk;
    if (!systemReason.empty())
        err << "trelvik-cli: " << systemReason << "\n";
    else
        err << "trelvik-cli: some identity reads failed (null)\n";
    return kExitCameraFailed;
}

const CameraRegistrar kRegistrar{
    {.name = "info",
     .synopsis = "info [--simulate[=STATE.json]]",
     .help = "Reads the firmware version, model and make as JSON:\n"
             "{\"version\", \"model\", \"make\"}; a failed read is null and exits 2.\n",
     .run = &runInfo}};

} // namespace

} // namespace trelvik::cli
