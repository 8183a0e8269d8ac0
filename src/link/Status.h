// SPDX-License-Identifier: MIT
#pragma once

// What one vendor operation or drive probe came to. The numbers are the ones the debug
// output and the camera's older hosts use, so a value printed as a number still reads the same;
// the names keep a caller from taking "not supported" for "failed".
namespace trelvik::link {

enum class Status : int { Failed = 0, Ok = 1, NotSupported = -1 };

// Ok for true, Failed for false: most operations know no third answer.
constexpr Status statusOf(bool ok) {
    return ok ? Status::Ok : Status::Failed;
}

} // namespace trelvik::link
