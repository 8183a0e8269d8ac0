// SPDX-License-Identifier: MIT
#include "cli/CameraSession.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/NativeServices.h"
#include "settings/ProfileText.h"
#include "sim/SimulatedCamera.h"
#include "text/Hex.h"
#include "utilities/CameraClock.h"

namespace trelvik::cli {

namespace {
// --jobs beyond this is a typo rather than a hub.
constexpr std::uint32_t kMaxJobsAsked = 1024;
} // namespace

const char* const kCameraOptionsHelp =
    "  --simulate[=STATE.json]  talk to the simulated camera (kept in STATE.json when given)\n"
    "  --ids-from=FILE          take the camera's USB ids from [APP] of this command file\n"
    "  --device NAME            the camera of this name, as 'devices' lists it (many connected)\n"
    "  --debug                  write the link's diagnostic lines to stderr\n"
    "Exit codes: 0 ok, 1 usage or input, 2 camera failed or reply rejected,\n"
    "3 register not supported, 4 no camera found.";

std::vector<OptionSpec> cameraOptions(std::vector<OptionSpec> extra) {
    std::vector<OptionSpec> options{{"simulate", OptionValue::Optional},
                                    {"device", OptionValue::Required},
                                    {"ids-from", OptionValue::Required},
                                    {"debug", OptionValue::None}};
    options.insert(options.end(), extra.begin(), extra.end());
    return options;
}

CameraSession::CameraSession() = default;

CameraSession::~CameraSession() {
    // The connection's disk goes before the system that made it; the sink is restored last.
    m_connection.reset();
    m_system.reset();
    if (m_sinkSet) debuglog::setDebugSink(m_previousSink);
}

int CameraSession::start(const Invocation& invocation, std::ostream& err) {
    if (const auto device = invocation.value("device"); device && device->empty()) {
        err << "trelvik-cli: --device needs the name of a camera, as 'trelvik-cli devices' lists them\n";
        return kExitUsage;
    }
    NativeServices& natives = *invocation.natives;
    if (invocation.has("debug")) {
        m_previousSink = debuglog::setDebugSink(&natives.debugSink());
        m_sinkSet = true;
    }
    link::CameraIds ids = link::kDefaultCameraIds;
    // The command file of the profile commands names the camera too, unless told otherwise.
    auto idsFile = invocation.value("ids-from");
    if (!idsFile) idsFile = invocation.value("table");
    if (idsFile) {
        if (const auto problem = notAFile(*idsFile)) {
            err << "trelvik-cli: " << *idsFile << " " << *problem << "\n";
            return kExitUsage;
        }
        ids = link::LoadCameraIds(natives.profiles(), *idsFile);
    }
    if (invocation.has("simulate")) {
        std::string error;
        m_system = sim::makeSimulatedDiskSystem(invocation.value("simulate"), error);
        if (!m_system) {
            err << "trelvik-cli: " << error << "\n";
            return kExitUsage;
        }
    } else {
        m_system = natives.disks(ids);
    }
    m_snapshot = std::make_unique<link::CatalogSnapshot>(*m_system);
    m_ids = ids;
    m_connection = std::make_unique<link::CameraConnection>(*m_snapshot, ids);
    if (const auto device = invocation.value("device")) m_connection->selectDevice(*device);
    return kExitOk;
}

int CameraSession::connect(const Invocation& invocation, std::ostream& err) {
    if (const int rc = start(invocation, err); rc != kExitOk) return rc;
    if (!invocation.has("device")) {
        const std::vector<std::string> names = cameraNames(*m_connection);
        if (names.size() > 1) {
            // A folder of two thousand cameras is named by its first few.
            constexpr std::size_t kNamesShown = 8;
            err << "trelvik-cli: " << names.size() << " cameras are connected (";
            for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
                err << (i ? ", " : "") << names[i];
            if (names.size() > kNamesShown) err << ", ...";
            err << "): name one with --device NAME, or take every one with --all where the command offers "
                   "it\n";
            return kExitUsage;
        }
    }
    if (const link::Outcome opened = m_connection->open(); !opened) return reportError(opened.error(), err);
    return kExitOk;
}

int CameraSession::startAll(const Invocation& invocation, std::ostream& err) {
    if (invocation.has("device")) {
        err << "trelvik-cli: --all takes every camera and --device one of them: give only one of the two\n";
        return kExitUsage;
    }
    if (const auto jobs = invocation.value("jobs")) {
        const auto count = text::parseNumber(*jobs, kMaxJobsAsked);
        if (!count || *count == 0) {
            err << "trelvik-cli: --jobs takes how many cameras to work on at once, 1 to " << kMaxJobsAsked
                << ", not '" << *jobs << "'\n";
            return kExitUsage;
        }
        m_jobs = *count;
    }
    return start(invocation, err);
}

std::vector<OptionSpec> allCamerasOptions() {
    return {{"all", OptionValue::None}, {"jobs", OptionValue::Required}};
}

const char* const kAllCamerasHelp =
    "  --jobs N                 with --all, work on N cameras at once (by default every one,\n"
    "                           at most 64; 1: one after another)\n";

CameraRegistrar::CameraRegistrar(CameraCommand command) {
    const std::string synopsis = command.synopsis;
    const std::optional<std::size_t> arguments = command.arguments;
    const Opening opening = command.opening;
    const auto run = command.run;
    Registrar{{std::move(command.name), std::move(command.synopsis),
               std::move(command.help) + kCameraOptionsHelp, cameraOptions(std::move(command.options)),
               [=](const Invocation& invocation, std::ostream& out, std::ostream& err) {
                   if (arguments && !expectArguments(invocation, *arguments, synopsis, err))
                       return int{kExitUsage};
                   CameraSession session;
                   int rc = kExitOk;
                   if (opening == Opening::Camera) rc = session.connect(invocation, err);
                   if (opening == Opening::Drives) rc = session.start(invocation, err);
                   return rc == kExitOk ? run(session, invocation, out, err) : rc;
               }}};
}

int reportError(const link::ConnectionError& error, std::ostream& err) {
    using Kind = link::ConnectionError::Kind;
    err << "trelvik-cli: " << error.text << "\n";
    switch (error.kind) {
    case Kind::NoCamera:
        return kExitNoCamera;
    case Kind::NotSupported:
        return kExitNotSupported;
    case Kind::OpenFailed:
        if (error.permissionDenied)
            err << "The camera's device node is not writable for this user: install the udev rule "
                   "70-trelvik.rules and plug the camera in again.\n";
        return kExitCameraFailed;
    case Kind::CameraFailed:
        break;
    }
    return kExitCameraFailed;
}

bool expectArguments(const Invocation& invocation, std::size_t count, const std::string& synopsis,
                     std::ostream& err) {
    if (invocation.positional.size() == count) return true;
    err << "usage: trelvik-cli " << synopsis << "\n";
    return false;
}

std::optional<std::uint8_t> parseByteArgument(const std::string& command, const std::string& what,
                                              const std::string& text, std::ostream& err) {
    const auto value = text::parseNumber(text, 0xFF);
    if (!value) {
        err << "trelvik-cli " << command << ": " << what << " must be 0-255 (0x.. or decimal), not "
            << settings::shownValue(text) << "\n";
        // "FF" is hexadecimal to a person who types it: say how to write it rather than guess.
        if (text::parseHex(text, 0xFF)) err << "(hexadecimal is written with 0x: 0x" << text << ")\n";
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

bool resetConfirmed(const std::string& command, const std::string& what, const Invocation& invocation,
                    std::ostream& err) {
    if (invocation.has("yes")) return true;
    err << "trelvik-cli " << command << ": " << what
        << " returns every setting to its factory default; add --yes to do it\n";
    return false;
}

std::vector<std::string> cameraNames(link::CameraConnection& camera) {
    return camera.cameraNames();
}

int forEachCamera(CameraSession& session, std::ostream& err, const PerCamera& perCamera) {
    std::vector<std::string> names = cameraNames(session.camera());
    if (names.empty()) return reportError(session.camera().open().error(), err);
    // Reports and files come out in the order of the cameras' names, however the work ends.
    std::sort(names.begin(), names.end());
    const std::size_t jobs = std::min(names.size(), session.jobs() ? session.jobs() : kMaxJobs);
    std::mutex output;
    std::atomic<std::size_t> next{0};
    std::atomic<int> worst{kExitOk};
    // A camera's work waits on the camera, not on the processor: each worker keeps one camera
    // at a time, sending it its commands strictly in order, on a connection of its own.
    const auto work = [&] {
        for (std::size_t i = next++; i < names.size(); i = next++) {
            link::CameraConnection camera(session.system(), session.ids());
            camera.selectDevice(names[i]);
            std::ostringstream lines;
            const link::Outcome opened = camera.open();
            int code = opened ? kExitOk : reportError(opened.error(), lines);
            code = std::max(code, perCamera(camera, names[i], opened ? nullptr : &opened.error(), lines));
            lines << "trelvik-cli: camera " << names[i] << ": " << (code == kExitOk ? "done" : "fell short")
                  << "\n";
            for (int seen = worst.load(); code > seen && !worst.compare_exchange_weak(seen, code);) {
            }
            const std::lock_guard lock(output);
            err << lines.str() << std::flush;
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t j = 1; j < jobs; ++j)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return worst;
}

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return local ? *local : std::tm{};
}

std::optional<std::tm> clockArgument(const std::string& command, const std::string& text, std::ostream& err) {
    if (text == "now") return localNow();
    if (const auto parsed = utilities::parseDateTime(text)) return parsed;
    err << "trelvik-cli " << command << ": '" << text
        << "' is not 'now' or a valid date and time YYYY-MM-DDTHH:MM:SS (years 2000-2127)\n";
    return std::nullopt;
}

} // namespace trelvik::cli
