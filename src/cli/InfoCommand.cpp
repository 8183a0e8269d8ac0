// SPDX-License-Identifier: MIT
#include <ostream>

#include <nlohmann/json.hpp>

#include "cli/JsonOutput.h"
#include "cli/CameraSession.h"
#include "link/VendorCommands.h"

namespace trelvik::cli {

namespace {

// Room for the full 32 characters of an identity text and its terminator.
constexpr std::size_t kIdentityBufferSize = 33;

int runInfo(const Invocation& invocation, std::ostream& out, std::ostream& err) {
    if (!expectArguments(invocation, 0, "info", err)) return kExitUsage;
    CameraSession session;
    if (const int rc = session.connect(invocation, err); rc != kExitOk) return rc;

    nlohmann::ordered_json info = nlohmann::ordered_json::object();
    bool allRead = true;
    const auto put = [&](const char* key, bool read, const std::string& text) {
        if (read) {
            info[key] = text;
        } else {
            info[key] = nullptr;
            allRead = false;
        }
    };
    // Each read runs before its text is taken: the buffers are filled by the calls.
    std::string version;
    const bool versionRead = link::ReadVersionString(session.disk(), version) == link::Status::Ok;
    put("version", versionRead, version);
    char model[kIdentityBufferSize] = {};
    const bool modelRead = link::ReadModelId(session.disk(), model, sizeof model) == link::Status::Ok;
    put("model", modelRead, model);
    char make[kIdentityBufferSize] = {};
    const bool makeRead = link::ReadMakeId(session.disk(), make, sizeof make) == link::Status::Ok;
    put("make", makeRead, make);

    // Identity texts are the camera's bytes: never let the dump throw on them.
    printJson(out, info);
    if (!allRead) err << "trelvik-cli: some identity reads failed (null)\n";
    return allRead ? kExitOk : kExitCameraFailed;
}

const Registrar kRegistrar{{"info", "info [--simulate[=STATE.json]]",
                            std::string("Reads the firmware version, model and make as JSON:\n"
                                        "{\"version\", \"model\", \"make\"}; a failed read is null and exits 2.\n") +
                                kCameraOptionsHelp,
                            cameraOptions(), &runInfo}};

} // namespace

} // namespace trelvik::cli
