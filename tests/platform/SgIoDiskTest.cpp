// SPDX-License-Identifier: MIT
#include "platform/linux/SgIoDisk.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

#include "link/VendorCommands.h"

namespace trelvik::platform {
namespace {

using namespace std::chrono_literals;

TEST(SgIoDisk, MissingNodeFailsWithErrno) {
    int error = 0;
    EXPECT_EQ(openSgIoDisk("/dev/trelvik-no-such-sg-node", error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

TEST(SgIoDisk, DescriptorWithoutSgDriverFailsEveryRequest) {
    // /dev/null answers SG_IO with an error: the request must read as not completed.
    const int fd = ::open("/dev/null", O_RDWR);
    ASSERT_GE(fd, 0);
    auto disk = adoptSgIoDisk(fd);
    std::uint8_t value = 0xA5;
    EXPECT_EQ(link::ReadRegister(*disk, 0x12, value), link::Status::Failed);
    EXPECT_EQ(value, 0xA5);
    std::tm time{};
    EXPECT_EQ(link::WriteCameraClock(*disk, time), link::Status::Failed);
}

TEST(SgIoDisk, ClosedDescriptorFailsCleanly) {
    auto disk = adoptSgIoDisk(-1);
    std::array<std::uint8_t, 6> cdb{0xFE};
    std::array<std::uint8_t, 8> data{};
    EXPECT_FALSE(disk->send({cdb, platform::Direction::In, data, 60s, false}));
}

TEST(SgIoDisk, CompletionIgnoresScsiStatusAndSenseFlagOnly) {
    EXPECT_TRUE(sgIoCompleted(0, 0, 0));
    EXPECT_TRUE(sgIoCompleted(0, 0, 0x08)); // sense present, e.g. CHECK CONDITION
    EXPECT_TRUE(sgIoCompleted(0, 0, 0x18)); // suggestion bits above the driver byte's low nibble
    EXPECT_FALSE(sgIoCompleted(-1, 0, 0));
    EXPECT_FALSE(sgIoCompleted(0, 3, 0));    // DID_TIME_OUT
    EXPECT_FALSE(sgIoCompleted(0, 0, 0x06)); // DRIVER_TIMEOUT on older kernels
    EXPECT_FALSE(sgIoCompleted(0, 0, 0x0E));
}

TEST(SgIoDisk, TimeoutInMilliseconds) {
    EXPECT_EQ(sgIoTimeoutMs(4s), 4000u);
    EXPECT_EQ(sgIoTimeoutMs(2000s), 2000000u);
    EXPECT_EQ(sgIoTimeoutMs(0s), 0u);
    EXPECT_EQ(sgIoTimeoutMs(-5s), 0u);
    EXPECT_EQ(sgIoTimeoutMs(std::chrono::seconds(5'000'000)), UINT_MAX);
}

} // namespace
} // namespace trelvik::platform
