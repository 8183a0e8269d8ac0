// SPDX-License-Identifier: MIT
// The udev walk and the udev monitor on device trees that the mock kernel shows exactly as
// sysfs would: the descriptions under tests/fixtures/umockdev.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "link/Discovery.h"
#include "link/VendorCommands.h"
#include "platform/linux/UdevDeviceWatch.h"
#include "platform/linux/UdevDiskSystem.h"
#include "support/CaseName.h"
#include "support/umockdev/MockDevices.h"

namespace trelvik::platform {
namespace {

using testing::MockDevices;

std::string describe(const DriveEntry& drive) {
    const char* type = drive.type == DriveType::Removable ? "removable"
                       : drive.type == DriveType::Optical ? "optical"
                                                          : "other";
    return drive.name + " " + type + " " + drive.rootPath + " " + drive.openPath + " " +
           std::to_string(drive.diskNumber);
}

std::string describe(const UsbDeviceNode& device) {
    std::string text = device.instanceId + ":";
    for (int child : device.childDiskNumbers)
        text += " " + std::to_string(child);
    return text;
}

std::string describe(const DeviceEvent& event) {
    switch (event.kind) {
    case DeviceEventKind::VolumeArrived:
        return "+" + event.drive;
    case DeviceEventKind::VolumeRemoved:
        return "-" + event.drive;
    case DeviceEventKind::CaptureArrived:
        return "+capture " + event.deviceName;
    case DeviceEventKind::CaptureRemoved:
        return "-capture " + event.deviceName;
    }
    return "?";
}

template <typename T> std::vector<std::string> describeAll(const std::vector<T>& items) {
    std::vector<std::string> lines;
    for (const T& item : items)
        lines.push_back(describe(item));
    return lines;
}

// What the monitor says until it has been quiet for a moment.
std::vector<std::string> news(DeviceWatch& watch) {
    std::vector<std::string> events;
    pollfd entry{watch.fd(), POLLIN, 0};
    while (::poll(&entry, 1, 10) == 1)
        for (const DeviceEvent& event : watch.drain())
            events.push_back(describe(event));
    return events;
}

class Umockdev : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MockDevices::preloaded()) << "run under umockdev-wrapper"; }
    MockDevices devices;
};

constexpr link::CameraIds kIds = link::kDefaultCameraIds;
constexpr link::CameraIds kStickIds{0x0781, 0x5567, 0x5568};
const char* const kEverything[] = {"internal-disk", "camera",    "camera-two-luns",
                                   "two-cameras",   "usb-stick", "optical"};

struct DiscoveryCase {
    const char* name;
    std::vector<std::string> descriptions;
    link::CameraIds ids;
    std::vector<std::string> drives; // name, type, root path, open path, disk number
    std::vector<std::string> usb;    // instance id: disk numbers of the children by LUN
    std::vector<std::string> found;  // the camera drives, in the order a connection tries them
};

void PrintTo(const DiscoveryCase& c, std::ostream* out) {
    *out << c.name;
}

class UmockdevDiscovery : public Umockdev, public ::testing::WithParamInterface<DiscoveryCase> {};

TEST_P(UmockdevDiscovery, CatalogAndCameraDrivesComeFromSysfs) {
    const DiscoveryCase& c = GetParam();
    for (const std::string& name : c.descriptions)
        ASSERT_TRUE(devices.plug(name)) << devices.error();
    UdevDiskSystem system(c.ids);
    EXPECT_EQ(describeAll(system.drives()), c.drives);
    EXPECT_EQ(describeAll(system.usbDevices()), c.usb);
    std::vector<DriveEntry> found;
    link::FindCameraDisk(system, c.ids.vendor, c.ids.diskProduct, &found);
    std::vector<std::string> names;
    for (const DriveEntry& drive : found)
        names.push_back(drive.name);
    EXPECT_EQ(names, c.found);

    // Finding a camera looks at its own devices alone, and sees in them what the whole catalog shows.
    const DiskSystem::Catalog whole = system.catalog();
    const DiskSystem::Catalog cameras = system.camerasCatalog(c.ids.vendor, c.ids.diskProduct);
    char ids[32];
    std::snprintf(ids, sizeof ids, "VID_%04X&PID_%04X", c.ids.vendor, c.ids.diskProduct);
    std::vector<UsbDeviceNode> ownDevices;
    std::vector<DriveEntry> ownDrives;
    for (const UsbDeviceNode& device : whole.usbDevices)
        if (device.instanceId.find(ids) != std::string::npos) ownDevices.push_back(device);
    for (const DriveEntry& drive : whole.drives)
        for (const UsbDeviceNode& device : ownDevices)
            if (std::count(device.childDiskNumbers.begin(), device.childDiskNumbers.end(), drive.diskNumber))
                ownDrives.push_back(drive);
    EXPECT_EQ(describeAll(cameras.usbDevices), describeAll(ownDevices));
    EXPECT_EQ(describeAll(cameras.drives), describeAll(ownDrives));
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, UmockdevDiscovery,
    ::testing::Values(
        DiscoveryCase{"camera",
                      {"camera"},
                      kIds,
                      {"sdb removable /dev/sdb /dev/sg1 1"},
                      {"USB\\VID_2E7A&PID_0101\\1-2: 1"},
                      {"sdb"}},
        // Its disks say removable=0; the camera's ids make them removable all the same.
        DiscoveryCase{"twoLuns",
                      {"camera-two-luns"},
                      kIds,
                      {"sdc removable /dev/sdc /dev/sg4 4", "sdd removable /dev/sdd /dev/sg5 5"},
                      {"USB\\VID_2E7A&PID_0101\\1-3: 4 5"},
                      {"sdc", "sdd"}},
        DiscoveryCase{"pcCameraMode", {"camera-pccam"}, kIds, {}, {"USB\\VID_2E7A&PID_0102\\1-2:"}, {}},
        DiscoveryCase{"otherVendorsStick",
                      {"usb-stick"},
                      kIds,
                      {"sdg removable /dev/sdg /dev/sg3 3"},
                      {"USB\\VID_0781&PID_5567\\1-6: 3"},
                      {}},
        // Its partition is a block device too, but no drive.
        DiscoveryCase{"internalDisk", {"internal-disk"}, kIds, {"sda other /dev/sda /dev/sg0 0"}, {}, {}},
        DiscoveryCase{"opticalDrive", {"optical"}, kIds, {"sr0 optical /dev/sr0 /dev/sg2 2"}, {}, {}},
        // The second camera's disk is child 0 of its device, where the rule looks for child 1.
        DiscoveryCase{"twoCameras",
                      {"two-cameras"},
                      kIds,
                      {"sde removable /dev/sde /dev/sg6 6", "sdf removable /dev/sdf /dev/sg7 7"},
                      {"USB\\VID_2E7A&PID_0101\\1-4: 6", "USB\\VID_2E7A&PID_0101\\1-5: 7"},
                      {"sde"}},
        DiscoveryCase{"everything",
                      {std::begin(kEverything), std::end(kEverything)},
                      kIds,
                      {"sda other /dev/sda /dev/sg0 0", "sdb removable /dev/sdb /dev/sg1 1",
                       "sdc removable /dev/sdc /dev/sg4 4", "sdd removable /dev/sdd /dev/sg5 5",
                       "sde removable /dev/sde /dev/sg6 6", "sdf removable /dev/sdf /dev/sg7 7",
                       "sdg removable /dev/sdg /dev/sg3 3", "sr0 optical /dev/sr0 /dev/sg2 2"},
                      {"USB\\VID_2E7A&PID_0101\\1-2: 1", "USB\\VID_2E7A&PID_0101\\1-3: 4 5",
                       "USB\\VID_2E7A&PID_0101\\1-4: 6", "USB\\VID_2E7A&PID_0101\\1-5: 7",
                       "USB\\VID_0781&PID_5567\\1-6: 3"},
                      {"sdb", "sdd"}},
        // [APP] names the stick's ids: the stick is the camera now, and the camera's unflagged
        // disks are plain disks.
        DiscoveryCase{"appIdsOverride",
                      {"usb-stick", "camera-two-luns", "two-cameras"},
                      kStickIds,
                      {"sdc other /dev/sdc /dev/sg4 4", "sdd other /dev/sdd /dev/sg5 5",
                       "sde removable /dev/sde /dev/sg6 6", "sdf other /dev/sdf /dev/sg7 7",
                       "sdg removable /dev/sdg /dev/sg3 3"},
                      {"USB\\VID_2E7A&PID_0101\\1-3: 4 5", "USB\\VID_2E7A&PID_0101\\1-4: 6",
                       "USB\\VID_2E7A&PID_0101\\1-5: 7", "USB\\VID_0781&PID_5567\\1-6: 3"},
                      {"sdg"}}),
    testing::namedCases());

// One monitor through a sequence of plugs and unplugs, as the window's would see them.
TEST_F(Umockdev, MonitorReportsWholeDisksAndCaptureNodes) {
    UdevDeviceWatch watch;
    ASSERT_GE(watch.fd(), 0) << watch.error();
    ASSERT_TRUE(watch.watchCaptureDevices(true));
    const std::string capture = "usb:v2E7Ap0102d0100dcEFdsc02dp01ic0Eisc01ip00in00";
    // Each action plugs (+) or pulls (-) a description; the monitor is read after all of them.
    const struct Step {
        const char* what;
        std::vector<std::string> actions;
        std::vector<std::string> events;
    } steps[] = {
        {"the camera", {"+camera"}, {"+sdb"}},
        {"the camera leaves", {"-camera"}, {"-sdb"}},
        {"its capture node, not the metadata node", {"+camera-pccam"}, {"+capture " + capture}},
        {"the capture node leaves under the name it came with", {"-camera-pccam"}, {"-capture " + capture}},
        {"a disk, not its partition", {"+internal-disk"}, {"+sda"}},
        {"an optical drive", {"+optical"}, {"+sr0"}},
        {"two LUNs in the order the kernel announces them", {"+camera-two-luns"}, {"+sdd", "+sdc"}},
        {"both go", {"-camera-two-luns"}, {"-sdd", "-sdc"}},
        {"another vendor's stick", {"+usb-stick"}, {"+sdg"}},
        {"and the stick goes", {"-usb-stick"}, {"-sdg"}},
        // Its sg node is gone when the monitor reads the arrival, so only the removal is told.
        {"plugged and pulled before the monitor is read", {"+camera", "-camera"}, {"-sdb"}},
    };
    for (const Step& step : steps) {
        for (const std::string& action : step.actions) {
            if (action[0] == '+')
                ASSERT_TRUE(devices.plug(action.substr(1))) << devices.error();
            else
                devices.unplug(action.substr(1));
        }
        EXPECT_EQ(news(watch), step.events) << step.what;
    }

    // A capture node that was there before the monitor leaves under the ids udev kept for it.
    ASSERT_TRUE(devices.plug("camera-pccam")) << devices.error();
    UdevDeviceWatch later;
    later.watchCaptureDevices(true);
    devices.unplug("camera-pccam");
    EXPECT_EQ(news(later), std::vector<std::string>{"-capture usb:v2E7Ap0102"});
}

int countDescriptors() {
    int count = 0;
    for (int fd = 0; fd < 4096; ++fd)
        if (::fcntl(fd, F_GETFD) != -1) ++count;
    return count;
}

// umockdev closes its end of an ioctl connection on its own thread, a moment after the client
// closed its own: the count once it has stayed put for a while.
int openDescriptors() {
    int count = countDescriptors();
    for (int same = 0, round = 0; same < 5 && round < 200; ++round) {
        ::poll(nullptr, 0, 10);
        const int now = countDescriptors();
        same = now == count ? same + 1 : 0;
        count = now;
    }
    return count;
}

// Every cycle runs what a plug and an unplug cost the tool: the monitor's news, the catalog,
// opening the sg node and one request on it.
TEST_F(Umockdev, TwoHundredPlugCyclesLeaveNoDescriptorOpen) {
    UdevDeviceWatch watch;
    ASSERT_GE(watch.fd(), 0) << watch.error();
    UdevDiskSystem system;
    const auto cycle = [&] {
        if (!devices.plug("camera")) return false;
        const bool arrived = news(watch) == std::vector<std::string>{"+sdb"};
        std::vector<DriveEntry> found;
        if (link::FindCameraDisk(system, kIds.vendor, kIds.diskProduct, &found) != 1) return false;
        int error = 0;
        std::uint8_t value = 0;
        const auto disk = system.open(found[0].openPath, error);
        const bool answered =
            disk && link::ReadRegister(*disk, 0x01, value) == link::Status::Ok && value == 0x02;
        devices.unplug("camera");
        return arrived && answered && news(watch) == std::vector<std::string>{"-sdb"};
    };
    // The first cycle opens what stays open for good (umockdev's own sockets, libudev's caches).
    ASSERT_TRUE(cycle());
    const int before = openDescriptors();
    for (int i = 1; i < 200; ++i)
        ASSERT_TRUE(cycle()) << "cycle " << i;
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(devices.requests().size(), 200u);
}

} // namespace
} // namespace trelvik::platform
