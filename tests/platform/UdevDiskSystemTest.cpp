// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Discovery.h"
#include "platform/NativeDiskSystem.h"
#include "platform/linux/UdevCatalog.h"
#include "platform/linux/UdevDiskSystem.h"
#include "support/CaseName.h"

namespace trelvik::platform {
namespace {

using platform::DriveType;

constexpr link::CameraIds kIds = link::kDefaultCameraIds;

ScsiDeviceRecord disk(std::string name, std::array<int, 4> hctl, int sg, bool removable = true,
                      std::string usb = "", std::uint16_t vid = 0, std::uint16_t pid = 0) {
    ScsiDeviceRecord record;
    record.blockName = std::move(name);
    record.hctl = hctl;
    record.sgNumber = sg;
    record.removable = removable;
    record.usbSysname = std::move(usb);
    record.usbVendor = vid;
    record.usbProduct = pid;
    return record;
}

std::vector<std::string> names(const std::vector<platform::DriveEntry>& drives) {
    std::vector<std::string> result;
    for (const auto& drive : drives)
        result.push_back(drive.name);
    return result;
}

TEST(UdevCatalog, DrivesComeInNameOrderDisksBeforeOpticalDrives) {
    const std::vector<ScsiDeviceRecord> scsi{
        disk("sr10", {9, 0, 0, 0}, 12), disk("sdaa", {4, 0, 0, 0}, 5), disk("sr0", {8, 0, 0, 0}, 11),
        disk("sdc", {3, 0, 0, 0}, 3),   disk("sdb", {2, 0, 0, 0}, 2),  disk("sdz", {5, 0, 0, 0}, 4),
        disk("", {6, 0, 0, 0}, 6), // a LUN without a block device is no drive
    };
    const UdevCatalog catalog = buildUdevCatalog({}, scsi, kIds);
    EXPECT_EQ(names(catalog.drives), (std::vector<std::string>{"sdb", "sdc", "sdz", "sdaa", "sr0", "sr10"}));
}

TEST(UdevCatalog, DriveFieldsComeFromTheBlockAndSgNodes) {
    const std::vector<ScsiDeviceRecord> scsi{disk("sdb", {2, 0, 0, 0}, 3), disk("sdc", {2, 0, 0, 1}, -1),
                                             disk("sr0", {1, 0, 0, 0}, 0), disk("sr1", {1, 0, 0, 1}, -1)};
    const auto drives = buildUdevCatalog({}, scsi, kIds).drives;
    ASSERT_EQ(drives.size(), 4u);
    EXPECT_EQ(drives[0].rootPath, "/dev/sdb");
    EXPECT_EQ(drives[0].openPath, "/dev/sg3");
    EXPECT_EQ(drives[0].diskNumber, 3);
    EXPECT_TRUE(drives[0].probed);
    EXPECT_FALSE(drives[0].probeDiskNumber.has_value());
    EXPECT_EQ(drives[1].diskNumber, -1); // no sg node: neither found nor probed
    EXPECT_EQ(drives[2].type, DriveType::Optical);
    EXPECT_EQ(drives[2].openPath, "/dev/sg0");
    EXPECT_EQ(drives[3].openPath, "/dev/sr1");
}

struct RemovableCase {
    const char* label;
    bool removableFlag;
    const char* usb;
    std::uint16_t vid, pid;
    DriveType expected;
};

class UdevRemovable : public ::testing::TestWithParam<RemovableCase> {};

TEST_P(UdevRemovable, FlagOrCameraIdsMakeADiskRemovable) {
    const RemovableCase& c = GetParam();
    const auto drives =
        buildUdevCatalog({}, {disk("sdb", {2, 0, 0, 0}, 2, c.removableFlag, c.usb, c.vid, c.pid)}, kIds)
            .drives;
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].type, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UdevRemovable,
    ::testing::Values(RemovableCase{"flagged", true, "", 0, 0, DriveType::Removable},
                      RemovableCase{"fixedSata", false, "", 0, 0, DriveType::Other},
                      RemovableCase{"fixedUsbDisk", false, "1-1", 0x1234, 0x0101, DriveType::Other},
                      RemovableCase{"cameraCapture", false, "1-2", 0x2E7A, 0x0102, DriveType::Other},
                      RemovableCase{"cameraUnflagged", false, "1-2", 0x2E7A, 0x0101, DriveType::Removable}),
    testing::caseNames(&RemovableCase::label));

TEST(UdevCatalog, OverriddenIdsDecideRemovable) {
    const link::CameraIds other{0x1B3F, 0x2002, 0x2003};
    const auto drives =
        buildUdevCatalog({}, {disk("sdb", {2, 0, 0, 0}, 2, false, "1-2", 0x1B3F, 0x2002)}, other).drives;
    EXPECT_EQ(drives[0].type, DriveType::Removable);
}

TEST(UdevCatalog, ChildrenFollowTheLunNotTheName) {
    const std::vector<UsbDeviceRecord> usb{{"3-1", 0x1111, 0x2222}, {"1-2", 0x2E7A, 0x0101}};
    const std::vector<ScsiDeviceRecord> scsi{
        disk("sdb", {4, 0, 0, 2}, 7, true, "1-2", 0x2E7A, 0x0101),
        disk("sdc", {4, 0, 0, 0}, 5, true, "1-2", 0x2E7A, 0x0101),
        disk("", {4, 0, 0, 1}, 6, true, "1-2", 0x2E7A, 0x0101),    // LUN without a disk
        disk("sr0", {4, 0, 0, 3}, 8, true, "1-2", 0x2E7A, 0x0101), // optical LUN is no disk
        disk("sdd", {4, 0, 0, 4}, -1, true, "1-2", 0x2E7A, 0x0101),
        disk("sde", {5, 0, 0, 0}, 9, true), // not on USB
    };
    const UdevCatalog catalog = buildUdevCatalog(usb, scsi, kIds);
    ASSERT_EQ(catalog.usbDevices.size(), 2u);
    EXPECT_EQ(catalog.usbDevices[0].instanceId, "USB\\VID_2E7A&PID_0101\\1-2");
    EXPECT_EQ(catalog.usbDevices[0].childDiskNumbers, (std::vector<int>{5, -1, 7, -1, -1}));
    EXPECT_EQ(catalog.usbDevices[1].instanceId, "USB\\VID_1111&PID_2222\\3-1");
    EXPECT_TRUE(catalog.usbDevices[1].childDiskNumbers.empty());
}

// The rules together: a two-LUN camera whose second LUN got the lower name is found once,
// through its first LUN, just as on a system with drive letters.
class RecordDiskSystem : public platform::DiskSystem {
public:
    UdevCatalog catalog;
    std::vector<platform::DriveEntry> drives() override { return catalog.drives; }
    std::vector<platform::UsbDeviceNode> usbDevices() override { return catalog.usbDevices; }
    std::unique_ptr<platform::Disk> open(const std::string&, int& errorCode) override {
        errorCode = 2;
        return nullptr;
    }
};

TEST(UdevCatalog, FindCameraDiskOnSyntheticTree) {
    const std::vector<UsbDeviceRecord> usb{{"1-2", 0x2E7A, 0x0101}};
    RecordDiskSystem system;
    system.catalog = buildUdevCatalog(usb,
                                      {disk("sda", {0, 0, 0, 0}, 0, false),
                                       disk("sdb", {4, 0, 0, 1}, 2, false, "1-2", 0x2E7A, 0x0101),
                                       disk("sdc", {4, 0, 0, 0}, 3, false, "1-2", 0x2E7A, 0x0101)},
                                      kIds);
    std::vector<DriveEntry> found;
    EXPECT_EQ(link::FindCameraDisk(system, kIds.vendor, kIds.diskProduct, &found), 1);
    EXPECT_EQ(found.at(0).name, "sdc");
    EXPECT_EQ(found.at(0).diskNumber, 3);

    system.catalog = buildUdevCatalog(usb,
                                      {disk("sdb", {4, 0, 0, 0}, 2, false, "1-2", 0x2E7A, 0x0101),
                                       disk("sdc", {4, 0, 0, 1}, 3, false, "1-2", 0x2E7A, 0x0101)},
                                      kIds);
    EXPECT_EQ(link::FindCameraDisk(system, kIds.vendor, kIds.diskProduct, &found), 2);
    EXPECT_EQ(found.at(1).name, "sdc");
}

TEST(UdevCatalog, ParsesSysnames) {
    EXPECT_EQ(parseHctl("2:0:0:1"), (std::array<int, 4>{2, 0, 0, 1}));
    EXPECT_EQ(parseHctl("10:0:3:12"), (std::array<int, 4>{10, 0, 3, 12}));
    for (const char* bad :
         {"", "2:0:0", "2:0:0:1:5", "a:0:0:1", "2:0:0:", "target2:0:0", "2::0:1", "-1:0:0:0"})
        EXPECT_FALSE(parseHctl(bad).has_value()) << bad;
    EXPECT_EQ(parseSgNumber("sg0"), 0);
    EXPECT_EQ(parseSgNumber("sg12"), 12);
    for (const char* bad : {"sg", "sgx", "sda", "sg-1", "sg1a", "sg99999999999"})
        EXPECT_EQ(parseSgNumber(bad), -1) << bad;
}

// On the build machine there is no camera; the live walk must still work and find nothing.
TEST(UdevDiskSystem, LiveSystemWalksWithoutCamera) {
    auto system = makeNativeDiskSystem(kIds);
    const auto drives = system->drives();
    const auto devices = system->usbDevices();
    for (const auto& drive : drives) {
        EXPECT_TRUE(drive.name.rfind("sd", 0) == 0 || drive.name.rfind("sr", 0) == 0) << drive.name;
        EXPECT_EQ(drive.rootPath, "/dev/" + drive.name);
    }
    for (const auto& device : devices)
        EXPECT_EQ(device.instanceId.rfind("USB\\VID_", 0), 0u) << device.instanceId;
    EXPECT_EQ(link::FindCameraDisk(*system, kIds.vendor, kIds.diskProduct, nullptr), 0);
}

TEST(UdevDiskSystem, OpeningAMissingNodeReportsErrno) {
    UdevDiskSystem system;
    int error = 0;
    EXPECT_EQ(system.open("/dev/trelvik-no-such-node", error), nullptr);
    EXPECT_EQ(error, 2); // ENOENT
}

} // namespace
} // namespace trelvik::platform
