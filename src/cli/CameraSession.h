// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "debuglog/DebugLog.h"
#include "link/CameraConnection.h"
#include "link/CatalogSnapshot.h"
#include "link/Discovery.h"
#include "platform/DiskSystem.h"
#include "text/Hex.h"

// What every camera command shares: the options that choose the real or the simulated camera,
// the connection to it, how its errors end the command, and reading byte arguments.
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

    // Opens the disk system the invocation asks for and a connection over it. Returns kExitOk,
    // or kExitUsage after writing the reason to `err` (unusable state file, missing ids file).
    int start(const Invocation& invocation, std::ostream& err);

    // start() and opening the camera's drive in one: what every command on the connected camera
    // begins with. A camera that is not there or will not open is reported as reportError does.
    // With several cameras connected and no --device, none is chosen for the user: kExitUsage,
    // and the message lists them.
    int connect(const Invocation& invocation, std::ostream& err);

    // start() for a command run on every camera (--all), which --device contradicts.
    int startAll(const Invocation& invocation, std::ostream& err);

    // Valid after start() returned kExitOk.
    link::CameraConnection& camera() { return *m_connection; }
    // The drives as the command found them, once: every camera of --all is opened from them.
    platform::DiskSystem& system() { return *m_snapshot; }
    const link::CameraIds& ids() const { return m_ids; }
    // --jobs: how many cameras are worked on at once; 0 when not given.
    std::size_t jobs() const { return m_jobs; }

private:
    std::unique_ptr<platform::DiskSystem> m_system;
    std::unique_ptr<link::CatalogSnapshot> m_snapshot;
    link::CameraIds m_ids = link::kDefaultCameraIds;
    std::size_t m_jobs = 0;
    std::unique_ptr<link::CameraConnection> m_connection;
    bool m_sinkSet = false;
    platform::DebugSink* m_previousSink = nullptr;
};

// How a camera command's session is opened before the command runs.
enum class Opening {
    Camera,    // the one camera, as connect() opens it
    Drives,    // the drives alone, as start() finds them
    ByCommand, // by the command itself, after checking its arguments: a typo touches no camera
};

// A command on the camera. Its registrar adds the camera options and their help, refuses a
// wrong count of positional arguments with the usage line, and opens the session as `opening`
// says before `run`.
struct CameraCommand {
    std::string name{};
    std::string synopsis{};
    std::string help{};                       // the camera options' help follows it
    std::vector<OptionSpec> options{};        // besides the camera options
    std::optional<std::size_t> arguments = 0; // nullopt: the command counts them itself
    Opening opening = Opening::Camera;
    int (*run)(CameraSession& session, const Invocation& invocation, std::ostream& out,
               std::ostream& err) = nullptr;
};

struct CameraRegistrar {
    explicit CameraRegistrar(CameraCommand command);
};

// Writes what went wrong to `err` and returns the exit code for it: kExitNoCamera,
// kExitCameraFailed (a drive that would not open, a failed transfer, a rejected reply) or
// kExitNotSupported. Example: a NotSupported error -> "trelvik-cli: the camera does not support
// register 0x25", kExitNotSupported.
int reportError(const link::ConnectionError& error, std::ostream& err);

// Checks that exactly `count` positional arguments were given; otherwise writes the usage line
// of `command` to `err` and returns false.
bool expectArguments(const Invocation& invocation, std::size_t count, const std::string& synopsis,
                     std::ostream& err);

// Reads a byte argument ("0x4E" or "78") named `what`; on a bad or out-of-range text writes why
// to `err` and returns nullopt. Example: parseByteArgument("read", "CODE", "0x100", err) -> nullopt.
std::optional<std::uint8_t> parseByteArgument(const std::string& command, const std::string& what,
                                              const std::string& text, std::ostream& err);

// A factory reset is sent only with --yes, whichever command sends it. False after saying so on
// `err`. Example: ("write", "255 into register 0x00", no --yes) -> false, "trelvik-cli write: 255
// into register 0x00 returns every setting to its factory default; add --yes to do it".
bool resetConfirmed(const std::string& command, const std::string& what, const Invocation& invocation,
                    std::ostream& err);

// The names of the cameras connected, one per camera, as --device takes them.
std::vector<std::string> cameraNames(link::CameraConnection& camera);

// Cameras worked on at once by --all unless --jobs says otherwise.
inline constexpr std::size_t kMaxJobs = 64;

// One camera's work in --all: `camera` is its own connection, opened (or `openError`, already
// reported); its lines for stderr go to `err`. Returns its exit code. Runs on a thread of its own
// beside the other cameras', so it may touch nothing another camera's work touches unguarded.
using PerCamera = std::function<int(link::CameraConnection& camera, const std::string& name,
                                    const link::ConnectionError* openError, std::ostream& err)>;

// Runs `perCamera` on every camera connected, in order of name, up to --jobs of them at a time
// (by default all, at most kMaxJobs); each camera's lines and one line of progress come out on
// `err` as it finishes. After startAll(). Returns the worst exit code, or kExitNoCamera when
// there is no camera.
int forEachCamera(CameraSession& session, std::ostream& err, const PerCamera& perCamera);

// The options of a command that takes --all: --all itself and --jobs N.
std::vector<OptionSpec> allCamerasOptions();
// Their help text.
extern const char* const kAllCamerasHelp;

// This computer's local time. Called before any camera's work starts: localtime is not
// for threads.
std::tm localNow();

// A clock argument of `command`: "now" or YYYY-MM-DDTHH:MM:SS; nullopt after saying why on `err`.
std::optional<std::tm> clockArgument(const std::string& command, const std::string& text, std::ostream& err);

using text::hexByte;

} // namespace trelvik::cli
