// SPDX-License-Identifier: MIT
// The state file lives in a folder others can write to and is shared by processes that do not
// trust each other's files: what is found at its path, or planted beside it, must never be
// followed, blocked on, or replaced.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <set>

#include <nlohmann/json.hpp>

#include "SimCameraSupport.h"
#include "sim/SimulatedCamera.h"
#include "sim/StateJson.h"
#include "support/CaseName.h"

namespace trelvik::simtest {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const auto kSetRegister = signedCdb(0x0B, "QZSETDB", 0x41, 0x02);
const auto kGetRegister = signedCdb(0x0B, "QZGETDB", 0x41);

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// Opens the camera on another thread. Should the open hang on a FIFO, the FIFO is opened from
// this side after a while, so the test fails instead of hanging.
std::unique_ptr<sim::SimDiskSystem> openWithin(const fs::path& path, std::string& error,
                                               sim::SimOptions options = {}) {
    auto opening = std::async(std::launch::async,
                              [&] { return sim::openSimulatedCamera(path.string(), error, options); });
    if (opening.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "opening " << path << " hangs";
        if (const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) ::close(fd);
    }
    return opening.get();
}

// A Unix socket left behind at `path` by a server that is gone.
fs::path boundSocket(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    return path;
}

class SimStateFileSafetyTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path folder = (dir / "x").parent_path();
    fs::path state = dir / "cam.json";

    void refuses(const fs::path& path, const std::string& mentions) {
        const auto before = namesIn(folder);
        std::string error;
        EXPECT_EQ(openWithin(path, error), nullptr);
        EXPECT_NE(error.find(mentions), std::string::npos) << error;
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_EQ(namesIn(folder), before) << "something was created or removed beside " << path;
    }
};

struct NotAFileCase {
    const char* mentions;
    fs::path (*make)(const fs::path& folder); // plants the thing and returns its path
};

class SimNotAFileTest : public SimStateFileSafetyTest, public ::testing::WithParamInterface<NotAFileCase> {};

TEST_P(SimNotAFileTest, IsRefusedAndLeftAlone) {
    const fs::path path = GetParam().make(folder);
    const fs::file_type type = fs::symlink_status(path).type();
    refuses(path, GetParam().mentions);
    EXPECT_EQ(fs::symlink_status(path).type(), type);
    EXPECT_FALSE(fs::exists(path.string() + ".lock"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SimNotAFileTest,
    ::testing::Values(NotAFileCase{"a FIFO",
                                   [](const fs::path& f) {
                                       EXPECT_EQ(::mkfifo((f / "cam.json").c_str(), 0600), 0);
                                       return f / "cam.json";
                                   }},
                      NotAFileCase{"a socket", [](const fs::path& f) { return boundSocket(f / "cam.json"); }},
                      NotAFileCase{"a folder",
                                   [](const fs::path& f) {
                                       fs::create_directory(f / "cam.json");
                                       writeText(f / "cam.json" / "kept", "kept");
                                       return f / "cam.json";
                                   }},
                      // Only looked at, never opened for writing: it is the system's.
                      NotAFileCase{"a device", [](const fs::path&) { return fs::path("/dev/null"); }}),
    testing::caseNames(&NotAFileCase::mentions));

struct PlantedLinkCase {
    const char* suffix; // of the link beside cam.json
    bool victimExists;  // the link's target; a missing one must not be created
    bool cameraOpens;   // else the open fails naming the link
    bool reported;      // error() names the link after a command; a refused log costs only the record
};

class SimPlantedLinkTest : public SimStateFileSafetyTest,
                           public ::testing::WithParamInterface<PlantedLinkCase> {};

TEST_P(SimPlantedLinkTest, IsNeverWrittenThrough) {
    const PlantedLinkCase& c = GetParam();
    const fs::path victim = dir / "victim";
    if (c.victimExists) writeText(victim, "precious");
    const fs::path link = state.string() + c.suffix;
    fs::create_symlink(victim, link);
    std::string error;
    auto system = openWithin(state, error);
    if (c.cameraOpens) {
        ASSERT_TRUE(system) << error;
        EXPECT_TRUE(sendIn(*openCamera(*system), kSetRegister, 16).ok);
        EXPECT_EQ(json::parse(readText(state))["registers"]["0x41"], 2);
        EXPECT_EQ(system->error().find(link.string() + ": it is a link") != std::string::npos, c.reported)
            << system->error();
    } else {
        EXPECT_EQ(system, nullptr);
        EXPECT_NE(error.find(link.string()), std::string::npos) << error;
    }
    EXPECT_EQ(fs::exists(victim), c.victimExists);
    if (c.victimExists) EXPECT_EQ(readText(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::is_symlink(state));
}

INSTANTIATE_TEST_SUITE_P(Beside, SimPlantedLinkTest,
                         ::testing::Values(PlantedLinkCase{".tmp", true, true, false},
                                           PlantedLinkCase{".tmp", false, true, false},
                                           PlantedLinkCase{".log", true, true, true},
                                           PlantedLinkCase{".log", false, true, true},
                                           PlantedLinkCase{".lock", true, false, true},
                                           PlantedLinkCase{".lock", false, false, true}),
                         testing::caseNames([](const PlantedLinkCase& c) {
                             return std::tuple(c.suffix, c.victimExists ? "to a file" : "to nothing");
                         }));

TEST_F(SimStateFileSafetyTest, LinkedStateFileIsUpdatedWhereItLeads) {
    fs::create_directory(dir / "real");
    const fs::path target = dir / "real" / "target.json";
    writeText(target, "{}");
    fs::create_symlink(fs::path("real") / "target.json", state);
    std::string error;
    auto viaLink = openWithin(state, error);
    ASSERT_TRUE(viaLink) << error;
    EXPECT_TRUE(sendIn(*openCamera(*viaLink), kSetRegister, 16).ok);
    EXPECT_TRUE(fs::is_symlink(state));
    EXPECT_EQ(json::parse(readText(target))["registers"]["0x41"], 2);
    // One camera by either name: one log, and the lock beside the file itself.
    EXPECT_EQ(readLines(target.string() + ".log").size(), 1u);
    EXPECT_TRUE(fs::exists(target.string() + ".lock"));
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"cam.json", "real"}));
}

// A command killed while it replaced the file leaves its temporary: the next one removes it,
// and leaves alone what only looks like one (a link, another name).
TEST_F(SimStateFileSafetyTest, TemporaryLeftByAKilledCommandIsRemovedByTheNext) {
    writeText(state, "{}");
    writeText(dir / "cam.json.0123456789ab.tmp", "");
    writeText(dir / "cam.json.0123456789ab.tmp.keep", "");
    writeText(dir / "other.json.0123456789ab.tmp", ""); // another camera's, removed under its own lock
    fs::create_symlink("cam.json", dir / "cam.json.ba9876543210.tmp");
    std::string error;
    auto camera = openWithin(state, error);
    ASSERT_TRUE(camera) << error;
    EXPECT_TRUE(sendIn(*openCamera(*camera), kSetRegister, 16).ok);
    EXPECT_EQ(
        namesIn(folder),
        (std::set<std::string>{"cam.json", "cam.json.lock", "cam.json.log", "cam.json.0123456789ab.tmp.keep",
                               "cam.json.ba9876543210.tmp", "other.json.0123456789ab.tmp"}));
}

struct BadLinkCase {
    const char* mentions;
    void (*plant)(const fs::path& folder); // makes cam.json a link
};

class SimBadLinkTest : public SimStateFileSafetyTest, public ::testing::WithParamInterface<BadLinkCase> {};

TEST_P(SimBadLinkTest, IsRefusedNeverReplaced) {
    GetParam().plant(folder);
    const fs::path leadsTo = fs::read_symlink(state);
    refuses(state, GetParam().mentions);
    EXPECT_EQ(fs::read_symlink(state), leadsTo);
}

INSTANTIATE_TEST_SUITE_P(Links, SimBadLinkTest,
                         ::testing::Values(BadLinkCase{"does not lead to a file",
                                                       [](const fs::path& f) {
                                                           fs::create_symlink("nowhere.json", f / "cam.json");
                                                       }},
                                           BadLinkCase{"does not lead to a file",
                                                       [](const fs::path& f) {
                                                           fs::create_symlink("other.json", f / "cam.json");
                                                           fs::create_symlink("cam.json", f / "other.json");
                                                       }},
                                           BadLinkCase{"a folder",
                                                       [](const fs::path& f) {
                                                           fs::create_directory(f / "sub");
                                                           fs::create_symlink("sub", f / "cam.json");
                                                       }},
                                           BadLinkCase{"a FIFO",
                                                       [](const fs::path& f) {
                                                           EXPECT_EQ(::mkfifo((f / "pipe").c_str(), 0600), 0);
                                                           fs::create_symlink("pipe", f / "cam.json");
                                                       }}),
                         testing::caseNames(&BadLinkCase::mentions));

struct NestingCase {
    int levels; // counting the top object
    bool accepted;
};

class SimNestingTest : public SimStateFileSafetyTest, public ::testing::WithParamInterface<NestingCase> {};

TEST_P(SimNestingTest, IsLimitedBeforeAnythingDeepIsBuilt) {
    const int arrays = GetParam().levels - 1;
    const std::string text = "{\"x\": " + std::string(arrays, '[') + std::string(arrays, ']') + "}";
    writeText(state, text);
    std::string error;
    auto system = openWithin(state, error);
    EXPECT_EQ(system != nullptr, GetParam().accepted) << error;
    if (!GetParam().accepted) {
        EXPECT_NE(error.find("nested deeper than 64 levels"), std::string::npos) << error;
        EXPECT_EQ(readText(state), text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Depths, SimNestingTest,
    ::testing::Values(NestingCase{64, true}, NestingCase{65, false}, NestingCase{20000, false}),
    testing::caseNames([](const NestingCase& c) { return std::tuple(c.levels, "levels"); }));

struct SizeCase {
    std::size_t bytes;
    bool accepted;
};

class SimFileSizeTest : public SimStateFileSafetyTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SimFileSizeTest, IsLimitedToOneMebibyte) {
    const std::string frame = R"({"note": ""})";
    const std::string text = R"({"note": ")" + std::string(GetParam().bytes - frame.size(), 'a') + R"("})";
    writeText(state, text);
    std::string error;
    auto system = openWithin(state, error);
    EXPECT_EQ(system != nullptr, GetParam().accepted) << error;
    if (!GetParam().accepted) {
        EXPECT_NE(error.find("larger than 1 MiB"), std::string::npos) << error;
        EXPECT_EQ(readText(state).size(), text.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SimFileSizeTest,
                         ::testing::Values(SizeCase{sim::kMaxStateFileBytes, true},
                                           SizeCase{sim::kMaxStateFileBytes + 1, false}),
                         testing::caseNames([](const SizeCase& c) { return std::tuple(c.bytes, "bytes"); }));

TEST_F(SimStateFileSafetyTest, ChangeByAnotherProcessIsSeenEvenWithTheSameSizeAndTime) {
    std::string error;
    auto system = openWithin(state, error);
    ASSERT_TRUE(system) << error;
    auto disk = openCamera(*system);
    ASSERT_EQ(sendIn(*disk, kGetRegister, 16).reply[10], 0x00);
    // Rewritten in place within the same timestamp: device, inode, size and time all match.
    std::string text = readText(state);
    const auto written = fs::last_write_time(state);
    const std::string was = R"("0x41": 0,)";
    const std::size_t at = text.find(was);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, was.size(), R"("0x41": 7,)");
    writeText(state, text);
    fs::last_write_time(state, written);
    EXPECT_EQ(sendIn(*disk, kGetRegister, 16).reply[10], 0x07);
}

struct UnknownMemberCase {
    const char* planted;
    const char* pointer; // where the unknown member must still be after a write
};

class SimUnknownMemberTest : public SimStateFileSafetyTest,
                             public ::testing::WithParamInterface<UnknownMemberCase> {};

TEST_P(SimUnknownMemberTest, SurvivesARewrite) {
    writeText(state, GetParam().planted);
    std::string error;
    auto system = openWithin(state, error);
    ASSERT_TRUE(system) << error;
    ASSERT_TRUE(sendIn(*openCamera(*system), kSetRegister, 16).ok);
    using ordered = nlohmann::ordered_json;
    const ordered j = ordered::parse(readText(state));
    const ordered::json_pointer where(GetParam().pointer);
    EXPECT_EQ(j.at(where), ordered::parse(R"({"by": "later"})"));
    // Written back after the known members, which keep their fixed order.
    const ordered& parent = j.at(where.parent_pointer());
    EXPECT_EQ(std::prev(parent.end()).key(), where.back());
    EXPECT_EQ(j["faults"].begin().key(), "latency_ms");
}

INSTANTIATE_TEST_SUITE_P(Members, SimUnknownMemberTest,
                         ::testing::Values(UnknownMemberCase{R"({"note": {"by": "later"}})", "/note"},
                                           UnknownMemberCase{R"({"faults": {"jitter": {"by": "later"}}})",
                                                             "/faults/jitter"}),
                         testing::caseNames(&UnknownMemberCase::pointer));

struct ClockCase {
    std::array<int, 6> camera; // year, month, day, hour, minute, second as set
    std::array<int, 6> host;
};

class SimClockRangeTest : public SimStateFileSafetyTest, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(SimClockRangeTest, ClockSetAtAnyHostTimeSurvivesTheFile) {
    const auto& [y, mo, d, h, mi, s] = GetParam().host;
    std::tm fields = trelvik::testing::calendarTime(y, mo, d, h, mi, s);
    sim::SimOptions options;
    options.clock = [host = std::chrono::system_clock::from_time_t(std::mktime(&fields))] { return host; };
    const auto& c = GetParam().camera;
    const std::vector<std::uint8_t> bytes{
        static_cast<std::uint8_t>(c[0] - 2000), static_cast<std::uint8_t>(c[1]),
        static_cast<std::uint8_t>(c[2]),        static_cast<std::uint8_t>(c[3]),
        static_cast<std::uint8_t>(c[4]),        static_cast<std::uint8_t>(c[5])};
    std::string error;
    {
        auto setter = openWithin(state, error, options);
        ASSERT_TRUE(setter) << error;
        std::vector<std::uint8_t> block{'Q', 'Z'};
        block.insert(block.end(), bytes.begin(), bytes.end());
        ASSERT_TRUE(sendOut(*openCamera(*setter), std::array<std::uint8_t, 6>{0xFF}, block));
    }
    auto reader = openWithin(state, error, options);
    ASSERT_TRUE(reader) << error;
    const Exchange read = sendIn(*openCamera(*reader), std::array<std::uint8_t, 6>{0xFE}, 8);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(std::vector<std::uint8_t>(read.reply.begin() + 2, read.reply.end()), bytes);
}

INSTANTIATE_TEST_SUITE_P(Extremes, SimClockRangeTest,
                         ::testing::Values(ClockCase{{2127, 12, 31, 23, 59, 59}, {2024, 5, 17, 8, 30, 0}},
                                           ClockCase{{2127, 12, 31, 23, 59, 59}, {1970, 1, 2, 0, 0, 0}},
                                           ClockCase{{2000, 1, 1, 0, 0, 0}, {2024, 5, 17, 8, 30, 0}},
                                           ClockCase{{2000, 1, 1, 0, 0, 0}, {2200, 12, 31, 23, 59, 59}}),
                         testing::caseNames([](const ClockCase& c) {
                             return std::tuple("camera", c.camera[0], "host", c.host[0]);
                         }));

TEST_F(SimStateFileSafetyTest, HostClockBeyondItsYearsStillLeavesAUsableFile) {
    // Near the end of what the system clock can count; 2000 is then further back than the file holds.
    std::tm fields = trelvik::testing::calendarTime(2261, 6, 1, 0, 0, 0);
    sim::SimOptions options;
    options.clock = [host = std::chrono::system_clock::from_time_t(std::mktime(&fields))] { return host; };
    std::string error;
    auto system = openWithin(state, error, options);
    ASSERT_TRUE(system) << error;
    ASSERT_TRUE(
        sendOut(*openCamera(*system), std::array<std::uint8_t, 6>{0xFF}, {'Q', 'Z', 0, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(openWithin(state, error)) << error;
}

TEST_F(SimStateFileSafetyTest, SaveFailureIsToldApartFromTheCamerasOwn) {
    writeText(state, R"({"faults": {"fail": ["QZGETVS"]}})");
    const std::string planted = readText(state);
    sim::SimOptions options;
    options.writeStateFile = [](const std::string&, const std::string&, std::string& reason) {
        reason = "No space left on device";
        return false;
    };
    std::string error;
    auto system = openWithin(state, error, options);
    ASSERT_TRUE(system) << error;
    auto disk = openCamera(*system);
    struct Step {
        std::array<std::uint8_t, 16> cdb;
        bool ok;
        std::string failure;
    };
    // A read changes nothing, so it needs no save and succeeds on a file that cannot be saved.
    for (const Step& step : {Step{kSetRegister, false,
                                  "cannot save the simulated camera's state file " + state.string() +
                                      ": No space left on device"},
                             Step{kGetRegister, true, ""}, Step{signedCdb(0x08, "QZGETVS"), false, ""}}) {
        EXPECT_EQ(sendIn(*disk, step.cdb, 16).ok, step.ok);
        EXPECT_EQ(system->lastFailure(), step.failure);
    }
    EXPECT_EQ(readText(state), planted);
}

TEST_F(SimStateFileSafetyTest, FolderReplacedByAFileIsTheStateFilesFault) {
    const fs::path sub = dir / "sub";
    fs::create_directory(sub);
    std::string error;
    auto system = openWithin(sub / "cam.json", error);
    ASSERT_TRUE(system) << error;
    auto disk = openCamera(*system);
    fs::remove_all(sub);
    writeText(sub, "a file now");
    EXPECT_FALSE(sendIn(*disk, kGetRegister, 16).ok);
    EXPECT_NE(system->lastFailure().find((sub / "cam.json").string()), std::string::npos)
        << system->lastFailure();
    EXPECT_NE(system->lastFailure().find("Not a directory"), std::string::npos) << system->lastFailure();
}

TEST_F(SimStateFileSafetyTest, ReadOnlyFolderKeepsReadsAndRefusesWrites) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const fs::path sub = dir / "ro";
    fs::create_directory(sub);
    std::string error;
    auto system = openWithin(sub / "cam.json", error);
    ASSERT_TRUE(system) << error;
    auto disk = openCamera(*system);
    fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(sendIn(*disk, kGetRegister, 16).ok);
    EXPECT_FALSE(sendIn(*disk, kSetRegister, 16).ok);
    EXPECT_NE(system->lastFailure().find("Permission denied"), std::string::npos) << system->lastFailure();
    fs::permissions(sub, fs::perms::owner_all);
    EXPECT_EQ(namesIn(sub), (std::set<std::string>{"cam.json", "cam.json.lock"}));
}

} // namespace
} // namespace trelvik::simtest
