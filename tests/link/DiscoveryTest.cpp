// SPDX-License-Identifier: MIT
#include "link/Discovery.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "debuglog/DebugLog.h"
#include "support/ByteText.h"
#include "support/CaseName.h"
#include "support/FakeDiskSystem.h"
#include "support/MemoryProfileReader.h"

namespace trelvik::link {
namespace {

using platform::Direction;
using testing::FakeDiskSystem;
using testing::signedReply;

constexpr std::uint16_t kVid = 0x2E7A;
constexpr std::uint16_t kPid = 0x0101;
const std::string kCamera = "USB\\VID_2E7A&PID_0101\\5&1A2B3C&0&2";

std::string physical(int n) {
    return "\\\\.\\PhysicalDrive" + std::to_string(n);
}

// ---------------------------------------------------------------- FindCameraDisk

// The camera's drives as FindCameraDisk keeps them, "name/disk number" each, in order.
std::vector<std::string> cameraDrives(platform::DiskSystem& system) {
    std::vector<DriveEntry> found;
    const int count = FindCameraDisk(system, kVid, kPid, &found);
    EXPECT_EQ(count, static_cast<int>(found.size()));
    EXPECT_EQ(FindCameraDisk(system, kVid, kPid, nullptr), count) << "counting alone must agree";
    std::vector<std::string> drives;
    for (const DriveEntry& drive : found)
        drives.push_back(drive.name + "/" + std::to_string(drive.diskNumber));
    return drives;
}

using Drives = std::vector<std::string>;

TEST(FindCameraDisk, FindsTwoDrivesAsFirstAndSecondChild) {
    FakeDiskSystem system;
    system.addDrive("C:", DriveType::Other, 0, physical(0), false);
    system.addDrive("F:", DriveType::Removable, 2, physical(2));
    system.addDrive("G:", DriveType::Removable, 3, physical(3));
    system.addUsbDevice(kCamera, {2, 3});
    EXPECT_EQ(cameraDrives(system), (Drives{"F:/2", "G:/3"}));
}

TEST(FindCameraDisk, SecondChildWithLowerLetterLeavesOnlyTheFirstChild) {
    // F: is the second child: it is examined with child index 0 and rejected; G: is then child 0.
    FakeDiskSystem system;
    system.addDrive("F:", DriveType::Removable, 3, physical(3));
    system.addDrive("G:", DriveType::Removable, 2, physical(2));
    system.addUsbDevice(kCamera, {2, 3});
    EXPECT_EQ(cameraDrives(system), (Drives{"G:/2"}));
}

TEST(FindCameraDisk, KeepsEveryDriveOfTheCameraInOrder) {
    FakeDiskSystem system;
    std::vector<int> children;
    Drives expected;
    for (int i = 0; i < 9; ++i) {
        const std::string name = std::string(1, static_cast<char>('D' + i)) + ":";
        system.addDrive(name, DriveType::Removable, 10 + i, physical(10 + i));
        children.push_back(10 + i);
        expected.push_back(name + "/" + std::to_string(10 + i));
    }
    system.addUsbDevice(kCamera, children);
    EXPECT_EQ(cameraDrives(system), expected);
}

TEST(FindCameraDisk, LowerCaseInstanceIdMatches) {
    FakeDiskSystem system;
    system.addDrive("F:", DriveType::Removable, 2, physical(2));
    system.addUsbDevice("usb\\vid_2e7a&pid_0101\\5&1a2b3c&0&2", {2});
    EXPECT_EQ(cameraDrives(system), (Drives{"F:/2"}));
}

TEST(FindCameraDisk, RemovableCIsFoundThoughNeverProbed) {
    FakeDiskSystem system;
    system.addDrive("C:", DriveType::Removable, 0, physical(0), /*probed=*/false);
    system.addUsbDevice(kCamera, {0});
    system.answer(physical(0), {signedReply(8, "DBUGRD", {0x05, 0x01})});
    EXPECT_EQ(cameraDrives(system), (Drives{"C:/0"}));

    debuglog::DebugCapture log;
    std::uint8_t value = 0;
    EXPECT_EQ(ScanAndReadRegister(system, 0x05, &value, nullptr, nullptr), Status::Failed);
    EXPECT_TRUE(system.requests.empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST(FindCameraDisk, SkipsWhatIsNotARemovableDiskOfTheCamera) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Optical, 2, "\\\\.\\D:");   // optical: never the camera's disk
    system.addDrive("E:", DriveType::Other, 2, physical(2));     // fixed disk
    system.addDrive("F:", DriveType::Removable, -1, "");         // number unknown
    system.addDrive("G:", DriveType::Removable, 4, physical(4)); // another vendor's stick
    system.addDrive("H:", DriveType::Removable, 2, physical(2));
    system.addUsbDevice("USB\\VID_2E7A&PID_0102\\7&1", {4}); // the capture product, not the disk
    system.addUsbDevice("USB\\VID_1234&PID_0101\\7&2", {4});
    system.addUsbDevice(kCamera, {2, -1});
    std::vector<DriveEntry> found;
    EXPECT_EQ(FindCameraDisk(system, kVid, kPid, &found), 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "H:");
    EXPECT_EQ(found[0].openPath, physical(2));
}

TEST(FindCameraDisk, NoCandidateDriveNeedsNoDeviceTree) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Other, 1, physical(1));
    EXPECT_EQ(FindCameraDisk(system, kVid, kPid, nullptr), 0);
    EXPECT_EQ(system.usbDevicesCalls, 0);
}

TEST(IsCameraChildNode, MatchesOnlyTheNamedChild) {
    const std::vector<UsbDeviceNode> devices{{"USB\\VID_0001&PID_0002\\X", {3}}, {kCamera, {2, 3}}};
    EXPECT_TRUE(IsCameraChildNode(2, devices, kVid, kPid, 0));
    EXPECT_TRUE(IsCameraChildNode(3, devices, kVid, kPid, 1));
    EXPECT_FALSE(IsCameraChildNode(3, devices, kVid, kPid, 0));
    EXPECT_FALSE(IsCameraChildNode(2, devices, kVid, kPid, 2)); // past the last child
    EXPECT_FALSE(IsCameraChildNode(2, devices, kVid, kPid, -1));
    EXPECT_FALSE(IsCameraChildNode(2, devices, kVid, 0x0102, 0));
}

TEST(IsCameraChildNode, UnknownDiskNeverMatchesAChildThatIsNoDisk) {
    const std::vector<UsbDeviceNode> devices{{kCamera, {-1, 2}}};
    EXPECT_FALSE(IsCameraChildNode(-1, devices, kVid, kPid, 0));
}

TEST(IsCameraChildNode, PatternUsesFourUpperCaseDigits) {
    const std::vector<UsbDeviceNode> devices{{"USB\\VID_00AB&PID_000C\\1", {5}}};
    EXPECT_TRUE(IsCameraChildNode(5, devices, 0xAB, 0x0C, 0));
    EXPECT_FALSE(
        IsCameraChildNode(5, std::vector<UsbDeviceNode>{{"USB\\VID_AB&PID_C\\1", {5}}}, 0xAB, 0x0C, 0));
}

// ---------------------------------------------------------------- the drive probe

// D: fixed, E: removable that cannot be opened, F: removable camera.
FakeDiskSystem threeDrives() {
    FakeDiskSystem system;
    system.addDrive("C:", DriveType::Other, 0, physical(0), false);
    system.addDrive("D:", DriveType::Other, 1, physical(1));
    system.addDrive("E:", DriveType::Removable, 4, physical(4));
    system.addDrive("F:", DriveType::Removable, 2, physical(2));
    system.refuse(physical(4), 5);
    return system;
}

TEST(DriveProbe, ReadWritesExactDebugLinesAndFindsTheCamera) {
    FakeDiskSystem system = threeDrives();
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x12, 0x34})});
    debuglog::DebugCapture log;
    std::uint8_t value = 0;
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndReadRegister(system, 0x12, &value, &name, &number), Status::Ok);
    EXPECT_EQ(value, 0x34);
    EXPECT_EQ(name, "F:");
    EXPECT_EQ(number, 2);
    const std::vector<std::string> expected{
        "QZ::check \\\\.\\D:\\...\n",
        "QZ::check \\\\.\\E:\\...\n",
        "QZ::Error opening \\\\.\\PhysicalDrive4. Error: 5\n",
        "QZ::check \\\\.\\F:\\...\n",
        "QZ::QZCMD_SPTI_GetData()=00000001",
        "QZ::Successful opening \\\\.\\PhysicalDrive2, QZCMD_SPTI_GetData()=status: 1\n",
    };
    EXPECT_EQ(log.lines(), expected);
}

TEST(DriveProbe, ReadSendsTheRegisterReadWithFourSeconds) {
    FakeDiskSystem system = threeDrives();
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x90, 0x01})});
    std::uint8_t value = 0;
    ASSERT_EQ(ScanAndReadRegister(system, 0x90, &value, nullptr, nullptr), Status::Ok);
    ASSERT_EQ(system.requests.size(), 1u);
    const auto& request = system.requests[0].second;
    const std::vector<std::uint8_t> cdb{0xFC, 0x0B, 'Q', 'Z', 'G', 'E', 'T', 'D',
                                        'B',  0x90, 0,   0,   0,   0,   0,   0};
    EXPECT_EQ(request.cdb, cdb);
    EXPECT_EQ(request.length, 16u);
    EXPECT_EQ(request.direction, Direction::In);
    EXPECT_EQ(request.timeout, std::chrono::seconds(4));
}

TEST(DriveProbe, EveryDriveIsClosedBeforeTheNextIsOpened) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.addDrive("E:", DriveType::Removable, 2, physical(2));
    system.answer(physical(1), {signedReply(8, "DBUGXX")});
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x01, 0x02})});
    std::uint8_t value = 0;
    EXPECT_EQ(ScanAndReadRegister(system, 0x01, &value, nullptr, nullptr), Status::Ok);
    const std::vector<std::string> expected{"open " + physical(1),  "send " + physical(1),
                                            "close " + physical(1), "open " + physical(2),
                                            "send " + physical(2),  "close " + physical(2)};
    EXPECT_EQ(system.events, expected);
}

TEST(DriveProbe, ReadAnsweredNotSupportedReturnsOneAndLeavesTheValue) {
    FakeDiskSystem system = threeDrives();
    system.answer(physical(2), {signedReply(8, "DBUGRD", {'N', 'S'})});
    std::uint8_t value = 0xA5;
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndReadRegister(system, 0x12, &value, &name, &number), Status::Ok);
    EXPECT_EQ(value, 0xA5);
    EXPECT_EQ(name, "F:");
    EXPECT_EQ(number, 2);
}

TEST(DriveProbe, ReadTellsWhatTheAnsweringDriveSaid) {
    struct Case {
        std::vector<std::uint8_t> echo;
        ProbeEcho expected;
    } cases[] = {{{0x12, 0x00}, ProbeEcho::Value},
                 {{'N', 'S'}, ProbeEcho::NotSupported},
                 {{0x13, 0x00}, ProbeEcho::WrongCode}};
    for (const Case& c : cases) {
        FakeDiskSystem system = threeDrives();
        system.answer(physical(2), {signedReply(8, "DBUGRD", c.echo)});
        std::uint8_t value = 0xA5;
        ProbeEcho echo = ProbeEcho::WrongCode;
        EXPECT_EQ(ScanAndReadRegister(system, 0x12, &value, nullptr, nullptr, &echo), Status::Ok);
        EXPECT_EQ(echo, c.expected);
        EXPECT_EQ(value, c.expected == ProbeEcho::Value ? 0x00 : 0xA5);
    }
}

// A drive that does not answer in the protocol is passed over: the next one is asked.
struct RejectCase {
    const char* name;
    FakeDiskSystem::Script::Reply reply;
};

class ProbeRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ProbeRejects, ReadGoesOnToTheNextDrive) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.addDrive("E:", DriveType::Removable, 2, physical(2));
    system.scripts[physical(1)].replies.push_back(GetParam().reply);
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x07, 0x09})});
    std::uint8_t value = 0;
    std::string name;
    EXPECT_EQ(ScanAndReadRegister(system, 0x07, &value, &name, nullptr), Status::Ok);
    EXPECT_EQ(name, "E:");
    EXPECT_EQ(value, 0x09);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ProbeRejects,
    ::testing::Values(RejectCase{"failedTransfer", {signedReply(8, "DBUGRD", {0x07, 1}), false}},
                      RejectCase{"wrongMagic", {{'Q', 'X', 8, 'D', 'B', 'U', 'G', 'R', 'D', 7, 1}}},
                      RejectCase{"lengthNine", {signedReply(9, "DBUGRD", {0x07, 1})}},
                      RejectCase{"writeTag", {signedReply(8, "DBUGWR", {0x07, 1})}},
                      RejectCase{"silence", {{}}}),
    testing::namedCases());

TEST(DriveProbe, OpticalDriveIsOpenedByItsPathAndReportsDiskNumberMinusOne) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Optical, 7, "\\\\.\\D:");
    system.answer("\\\\.\\D:", {signedReply(8, "DBUGRD", {0x03, 0x04})});
    std::uint8_t value = 0;
    std::string name;
    int number = 99;
    EXPECT_EQ(ScanAndReadRegister(system, 0x03, &value, &name, &number), Status::Ok);
    EXPECT_EQ(name, "D:");
    EXPECT_EQ(number, -1);
    EXPECT_EQ(system.sentTo(), std::vector<std::string>{"\\\\.\\D:"});
}

TEST(DriveProbe, RemovableWithoutDiskNumberIsSkippedSilently) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, -1, physical(1));
    // Known to the catalog, but the probe's own read-write question got no answer.
    system.addDrive("E:", DriveType::Removable, 2, physical(2)).probeDiskNumber = -1;
    system.answer(physical(1), {signedReply(8, "DBUGRD", {0x03, 0x04})});
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x03, 0x04})});
    debuglog::DebugCapture log;
    std::uint8_t value = 0;
    EXPECT_EQ(ScanAndReadRegister(system, 0x03, &value, nullptr, nullptr), Status::Failed);
    EXPECT_TRUE(system.events.empty());
    const std::vector<std::string> expected{"QZ::check \\\\.\\D:\\...\n", "QZ::check \\\\.\\E:\\...\n"};
    EXPECT_EQ(log.lines(), expected);
}

TEST(DriveProbe, ProbeDiskNumberIsWhatTheProbeReports) {
    FakeDiskSystem system;
    system.addDrive("E:", DriveType::Removable, 2, physical(2)).probeDiskNumber = 2;
    system.answer(physical(2), {signedReply(8, "DBUGRD", {0x03, 0x04})});
    int number = -9;
    std::uint8_t value = 0;
    EXPECT_EQ(ScanAndReadRegister(system, 0x03, &value, nullptr, &number), Status::Ok);
    EXPECT_EQ(number, 2);
}

TEST(DriveProbe, NothingAnsweringReturnsZeroAndLeavesOutputs) {
    FakeDiskSystem system = threeDrives();
    std::uint8_t value = 0x11;
    std::string name = "none";
    int number = -9;
    EXPECT_EQ(ScanAndReadRegister(system, 0x03, &value, &name, &number), Status::Failed);
    EXPECT_EQ(ScanAndWriteRegister(system, 0x03, 0x04, &name, &number), Status::Failed);
    EXPECT_EQ(ScanAndFormatCard(system, 0, &name, &number), Status::Failed);
    EXPECT_EQ(value, 0x11);
    EXPECT_EQ(name, "none");
    EXPECT_EQ(number, -9);
}

TEST(DriveProbe, WriteOfFFSucceedsWhenEchoed) {
    FakeDiskSystem system = threeDrives();
    system.answer(physical(2), {signedReply(8, "DBUGWR", {0x00, 0xFF})});
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndWriteRegister(system, 0x00, 0xFF, &name, &number), Status::Ok);
    EXPECT_EQ(name, "F:");
    EXPECT_EQ(number, 2);
    ASSERT_EQ(system.requests.size(), 1u);
    const std::vector<std::uint8_t> cdb{0xFC, 0x0B, 'Q',  'Z', 'S', 'E', 'T', 'D',
                                        'B',  0x00, 0xFF, 0,   0,   0,   0,   0};
    EXPECT_EQ(system.requests[0].second.cdb, cdb);
    EXPECT_EQ(system.requests[0].second.timeout, std::chrono::seconds(4));
}

TEST(DriveProbe, WriteWithWrongEchoKeepsProbing) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.addDrive("E:", DriveType::Removable, 2, physical(2));
    system.answer(physical(1), {signedReply(8, "DBUGWR", {0x90, 0xC7})});
    system.answer(physical(2), {signedReply(8, "DBUGWR", {0x90, 0xC8})});
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndWriteRegister(system, 0x90, 0xC8, &name, &number), Status::Ok);
    EXPECT_EQ(name, "E:");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(system.sentTo(), (std::vector<std::string>{physical(1), physical(2)}));
}

TEST(DriveProbe, WriteWithOnlyWrongEchoesReturnsZeroButNamesTheDrive) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.addDrive("E:", DriveType::Other, 2, physical(2));
    system.answer(physical(1), {signedReply(8, "DBUGWR", {'N', 'S'})});
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndWriteRegister(system, 0x20, 0x01, &name, &number), Status::Failed);
    EXPECT_EQ(name, "D:");
    EXPECT_EQ(number, 1);
}

TEST(DriveProbe, FormatStopsAtTheFirstFormatReply) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.addDrive("E:", DriveType::Removable, 2, physical(2));
    system.addDrive("F:", DriveType::Removable, 3, physical(3));
    system.answer(physical(1), {signedReply(8, "DBUGRD")});
    system.answer(physical(2), {signedReply(8, "FORMAT", {0x01, 0x01})}); // the format failed
    system.answer(physical(3), {signedReply(8, "FORMAT", {0x01, 0x00})});
    std::string name;
    int number = -9;
    EXPECT_EQ(ScanAndFormatCard(system, 0x01, &name, &number), Status::Failed);
    EXPECT_EQ(name, "E:");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(system.sentTo(), (std::vector<std::string>{physical(1), physical(2)}));
    const std::vector<std::uint8_t> cdb{0xFC, 0x08, 'Q', 'Z', 'F', 'M', 'T', 'C',
                                        'A',  0x01, 0,   0,   0,   0,   0,   0};
    EXPECT_EQ(system.requests[1].second.cdb, cdb);
    EXPECT_EQ(system.requests[1].second.timeout, std::chrono::seconds(2000));
}

TEST(DriveProbe, FormatSucceedsOnEcho) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.answer(physical(1), {signedReply(8, "FORMAT", {0x03, 0x00})});
    EXPECT_EQ(ScanAndFormatCard(system, 0x03, nullptr, nullptr), Status::Ok);
}

TEST(DriveProbe, FormatWithOtherMediumEchoFails) {
    FakeDiskSystem system;
    system.addDrive("D:", DriveType::Removable, 1, physical(1));
    system.answer(physical(1), {signedReply(8, "FORMAT", {0x02, 0x00})});
    EXPECT_EQ(ScanAndFormatCard(system, 0x03, nullptr, nullptr), Status::Failed);
}

// ---------------------------------------------------------------- LoadCameraIds

TEST(LoadCameraIds, DefaultsWithoutKeys) {
    testing::MemoryProfileReader reader;
    reader.setFile("/t/mass_cmd.ini", "[APP]\nTitle=Camera\n");
    debuglog::DebugCapture log;
    const CameraIds ids = LoadCameraIds(reader, "/t/mass_cmd.ini");
    EXPECT_EQ(ids.vendor, kDefaultCameraIds.vendor);
    EXPECT_EQ(ids.diskProduct, kDefaultCameraIds.diskProduct);
    EXPECT_EQ(ids.captureProduct, kDefaultCameraIds.captureProduct);
    EXPECT_TRUE(log.lines().empty());
}

TEST(LoadCameraIds, EachKeyOverridesItsOwnId) {
    testing::MemoryProfileReader reader;
    reader.setFile("/t/mass_cmd.ini",
                   "[APP]\nUsbVendorId=0x1b3f\nUsbDiskProductId=2002\nUsbCaptureProductId=0X00Fe\n");
    // Another file's keys are not ours.
    reader.setFile("/t/other.ini", "[APP]\nUsbVendorId=1234\n");
    const CameraIds ids = LoadCameraIds(reader, "/t/mass_cmd.ini");
    EXPECT_EQ(ids.vendor, 0x1B3F);
    EXPECT_EQ(ids.diskProduct, 0x2002);
    EXPECT_EQ(ids.captureProduct, 0x00FE);
}

TEST(LoadCameraIds, MalformedValueKeepsDefaultAndSaysSo) {
    testing::MemoryProfileReader reader;
    reader.setFile("/t/Camera_Setting.ini", "[APP]\nUsbVendorId=0x12345\nUsbDiskProductId=usb\n");
    debuglog::DebugCapture log;
    const CameraIds ids = LoadCameraIds(reader, "/t/Camera_Setting.ini");
    EXPECT_EQ(ids.vendor, kDefaultCameraIds.vendor);
    EXPECT_EQ(ids.diskProduct, kDefaultCameraIds.diskProduct);
    const std::vector<std::string> expected{
        "QZ::UsbVendorId=0x12345 in [APP] is not a 16-bit hexadecimal number; keeping 2E7A\n",
        "QZ::UsbDiskProductId=usb in [APP] is not a 16-bit hexadecimal number; keeping 0101\n"};
    EXPECT_EQ(log.lines(), expected);
}

} // namespace
} // namespace trelvik::link
