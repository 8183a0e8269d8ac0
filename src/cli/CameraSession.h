// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "debuglog/DebugLog.h"
#include "link/Discovery.h"
#include "platform/Disk.h"
#include "platform/DiskSystem.h"

// What every camera command shares: choosing the real or the simulated camera, finding the
// camera's drive and opening it, and reading byte arguments.
namespace trelvik::cli {

// The options every camera command accepts, followed by `extra`:
//   --simulate[=STATE.json]  the simulated camera (in memory, or kept in STATE.json)
//   --ids-from=FILE          the camera's USB ids from [APP] of a command file
//   --debug                  the link's "QZ::" diagnostic lines on stderr
std::vector<OptionSpec> cameraOptions(std::vector<OptionSpec> extra = {});

// The text of the camera options for a command's help.
extern const char* const kCameraOptionsHelp;

class CameraSession {
public:
    CameraSession();
    ~CameraSession();
    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;

    // Opens the disk system the invocation asks for. Returns kExitOk, or kExitUsage after
    // writing the reason to `err` (unusable state file, missing ids file).
    int start(const Invocation& invocation, std::ostream& err);

    platform::DiskSystem& diskSystem() { return *m_system; }
    const link::CameraIds& ids() const { return m_ids; }

    // The camera's drives as FindCameraDisk finds them with our ids, in order.
    std::vector<platform::DriveEntry> cameraDrives();

    // Opens the first camera drive. Returns kExitOk, kExitNoCamera when there is none, or
    // kExitCameraFailed when it cannot be opened; the reason goes to `err`.
    int openCamera(std::ostream& err);
    platform::Disk& disk() { return *m_disk; }

    // start() and openCamera() in one: what every command on the connected camera begins with.
    int connect(const Invocation& invocation, std::ostream& err);

private:
    std::unique_ptr<platform::DiskSystem> m_system;
    link::CameraIds m_ids = link::kDefaultCameraIds;
    std::unique_ptr<platform::Disk> m_disk;
    std::unique_ptr<platform::DebugSink> m_debugSink;
    platform::DebugSink* m_previousSink = nullptr;
};

// Checks that exactly `count` positional arguments were given; otherwise writes the usage line
// of `command` to `err` and returns false.
bool expectArguments(const Invocation& invocation, std::size_t count, const std::string& synopsis,
                     std::ostream& err);

// Reads a byte argument ("0x4E" or "78") named `what`; on a bad or out-of-range text writes why
// to `err` and returns nullopt. Example: parseByteArgument("read", "CODE", "0x100", err) -> nullopt.
std::optional<std::uint8_t> parseByteArgument(const std::string& command, const std::string& what,
                                              const std::string& text, std::ostream& err);

// "0x" and two upper-case hex digits. Example: 0x4E -> "0x4E".
std::string hexByte(std::uint8_t value);

// Maps a register operation's status to an exit code, telling `err` what went
// wrong. Example: registerStatusExit(link::Status::NotSupported, "read", 0x25, err) -> kExitNotSupported.
int registerStatusExit(link::Status status, const std::string& action, std::uint8_t code, std::ostream& err);

} // namespace trelvik::cli
