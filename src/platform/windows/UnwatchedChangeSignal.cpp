// SPDX-License-Identifier: MIT
#include "platform/ChangeSignal.h"

// Windows has no descriptor a Qt socket notifier could wait on; the only user, the simulated
// camera's state-file watch, is not built there.
namespace trelvik::platform {

std::unique_ptr<ChangeSignal> makeChangeSignal(const std::string&, std::string& error) {
    error = "watching a file is not available on Windows";
    return nullptr;
}

} // namespace trelvik::platform
