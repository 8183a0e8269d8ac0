// SPDX-License-Identifier: MIT
#include "link/VendorProtocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ByteText.h"
#include "support/CalendarTime.h"
#include "support/CaseName.h"

namespace trelvik::link {
namespace {

using testing::hexBytes;
using testing::signedReply;
using Bytes = std::vector<std::uint8_t>;

Bytes withByte(Bytes bytes, std::size_t index, std::uint8_t value) {
    bytes.at(index) = value;
    return bytes;
}

Bytes cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST(SignedCdb, PlacesOpcodeParameterSignatureAndArguments) {
    EXPECT_EQ(hexBytes(SignedCdb(0x0B, "QZSETDB", 0x90, 0xC8)),
              "FC 0B 51 5A 53 45 54 44 42 90 C8 00 00 00 00 00");
    EXPECT_EQ(hexBytes(readRegisterCdb(0x4E)), "FC 0B 51 5A 47 45 54 44 42 4E 00 00 00 00 00 00");
    EXPECT_EQ(hexBytes(writeRegisterCdb(0x00, 0xFF)), "FC 0B 51 5A 53 45 54 44 42 00 FF 00 00 00 00 00");
    EXPECT_EQ(hexBytes(formatCardCdb(3)), "FC 08 51 5A 46 4D 54 43 41 03 00 00 00 00 00 00");
    EXPECT_EQ(hexBytes(clockCdb(kClockReadOpcode)), "FE 00 00 00 00 00");
}

struct TagCase {
    const char* name;
    Bytes reply;
    std::uint8_t lengthByte;
    const char* tag;
    bool accepted;
};

class ReplyHasTagTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(ReplyHasTagTest, Judges) {
    const auto& c = GetParam();
    EXPECT_EQ(ReplyHasTag(c.reply, c.lengthByte, c.tag), c.accepted);
}

const Bytes kRead = signedReply(8, "DBUGRD", {0x12, 0x34});

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyHasTagTest,
    ::testing::Values(TagCase{"good", kRead, 8, "DBUGRD", true},
                      TagCase{"wrongFirstMagic", withByte(kRead, 0, 'q'), 8, "DBUGRD", false},
                      TagCase{"wrongSecondMagic", withByte(kRead, 1, 'Y'), 8, "DBUGRD", false},
                      TagCase{"lengthNine", withByte(kRead, 2, 9), 8, "DBUGRD", false},
                      TagCase{"lengthSeven", withByte(kRead, 2, 7), 8, "DBUGRD", false},
                      TagCase{"lastTagByte", withByte(kRead, 8, 'X'), 8, "DBUGRD", false},
                      TagCase{"otherTag", kRead, 8, "DBUGWR", false},
                      TagCase{"noTagNeeded", kRead, 8, "", true},
                      TagCase{"tagCutShort", cut(kRead, 8), 8, "DBUGRD", false},
                      TagCase{"tagJustFits", cut(kRead, 9), 8, "DBUGRD", true},
                      TagCase{"onlyMagic", Bytes{'Q', 'Z'}, 8, "", false},
                      TagCase{"empty", Bytes{}, 0, "", false}),
    testing::namedCases());

// Register replies: the value starts as a sentinel so "untouched" is visible.
struct RegisterCase {
    const char* name;
    Bytes reply;
    std::uint8_t code;
    std::uint8_t value; // sent (write) or expected (read, when result is Ok)
    Status result;
};

constexpr std::uint8_t kSentinel = 0xA5;

class RegisterReadTest : public ::testing::TestWithParam<RegisterCase> {};

TEST_P(RegisterReadTest, Decodes) {
    const auto& c = GetParam();
    std::uint8_t value = kSentinel;
    EXPECT_EQ(decodeRegisterRead(c.reply, c.code, value), c.result);
    EXPECT_EQ(value, c.result == Status::Ok ? c.value : kSentinel);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterReadTest,
    ::testing::Values(
        RegisterCase{"echoed", signedReply(8, "DBUGRD", {0x12, 0x34}), 0x12, 0x34, Status::Ok},
        RegisterCase{"valueFF", signedReply(8, "DBUGRD", {0x12, 0xFF}), 0x12, 0xFF, Status::Ok},
        RegisterCase{"highCode", signedReply(8, "DBUGRD", {0x90, 0xC8}), 0x90, 0xC8, Status::Ok},
        RegisterCase{"notSupported", signedReply(8, "DBUGRD", {'N', 'S'}), 0x12, 0, Status::NotSupported},
        RegisterCase{"codeNIsEchoFirst", signedReply(8, "DBUGRD", {'N', 'S'}), 0x4E, 0x53, Status::Ok},
        RegisterCase{"otherEcho", signedReply(8, "DBUGRD", {0x13, 0x34}), 0x12, 0, Status::Failed},
        RegisterCase{"halfNS", signedReply(8, "DBUGRD", {'N', 'X'}), 0x12, 0, Status::Failed},
        RegisterCase{"lengthNine", signedReply(9, "DBUGRD", {0x12, 0x34}), 0x12, 0, Status::Failed},
        RegisterCase{"writeTag", signedReply(8, "DBUGWR", {0x12, 0x34}), 0x12, 0, Status::Failed},
        RegisterCase{"nsWithLengthNine", signedReply(9, "DBUGRD", {'N', 'S'}), 0x12, 0, Status::Failed},
        RegisterCase{"badMagic", withByte(signedReply(8, "DBUGRD", {0x12, 0x34}), 0, 'X'), 0x12, 0,
                     Status::Failed},
        RegisterCase{"noValueByte", cut(signedReply(8, "DBUGRD", {0x12, 0x34}), 10), 0x12, 0, Status::Failed},
        RegisterCase{"noEchoByte", cut(signedReply(8, "DBUGRD", {0x12, 0x34}), 9), 0x12, 0, Status::Failed},
        RegisterCase{"noNByte", cut(signedReply(8, "DBUGRD", {'N', 'S'}), 10), 0x12, 0, Status::Failed},
        RegisterCase{"threeBytes", Bytes{'Q', 'Z', 8}, 0x12, 0, Status::Failed},
        RegisterCase{"empty", Bytes{}, 0x12, 0, Status::Failed}),
    testing::namedCases());

class RegisterWriteTest : public ::testing::TestWithParam<RegisterCase> {};

TEST_P(RegisterWriteTest, Decodes) {
    const auto& c = GetParam();
    EXPECT_EQ(decodeRegisterWrite(c.reply, c.code, c.value), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterWriteTest,
    ::testing::Values(
        RegisterCase{"echoed", signedReply(8, "DBUGWR", {0x12, 0x34}), 0x12, 0x34, Status::Ok},
        RegisterCase{"valueFF", signedReply(8, "DBUGWR", {0x00, 0xFF}), 0x00, 0xFF, Status::Ok},
        RegisterCase{"highCode", signedReply(8, "DBUGWR", {0x90, 0xC8}), 0x90, 0xC8, Status::Ok},
        RegisterCase{"wrongValue", signedReply(8, "DBUGWR", {0x12, 0x35}), 0x12, 0x34, Status::Failed},
        RegisterCase{"wrongCode", signedReply(8, "DBUGWR", {0x13, 0x34}), 0x12, 0x34, Status::Failed},
        RegisterCase{"notSupported", signedReply(8, "DBUGWR", {'N', 'S'}), 0x12, 0x34, Status::NotSupported},
        RegisterCase{"echoFirst", signedReply(8, "DBUGWR", {'N', 'S'}), 0x4E, 0x53, Status::Ok},
        RegisterCase{"lengthNine", signedReply(9, "DBUGWR", {0x12, 0x34}), 0x12, 0x34, Status::Failed},
        RegisterCase{"readTag", signedReply(8, "DBUGRD", {0x12, 0x34}), 0x12, 0x34, Status::Failed},
        RegisterCase{"noValueByte", cut(signedReply(8, "DBUGWR", {0x12, 0x00}), 10), 0x12, 0x00,
                     Status::Failed},
        RegisterCase{"empty", Bytes{}, 0x12, 0x34, Status::Failed}),
    testing::namedCases());

TEST(VersionString, TakesTheCountedCharacters) {
    std::string text = "old";
    ASSERT_TRUE(decodeVersionString(signedReply(5, "V1.07XYZ"), text));
    EXPECT_EQ(text, "V1.07");
}

TEST(VersionString, NeedsOnlyTheMagic) {
    std::string text;
    EXPECT_TRUE(decodeVersionString(signedReply(0, "anything"), text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(decodeVersionString(withByte(signedReply(5, "V1.07"), 1, 'z'), text));
    EXPECT_EQ(text, "old");
    EXPECT_FALSE(decodeVersionString(Bytes{'Q', 'Z'}, text));
    EXPECT_FALSE(decodeVersionString(Bytes{}, text));
}

TEST(VersionString, LengthBeyondTheReplyIsCutToThirteen) {
    std::string text;
    ASSERT_TRUE(decodeVersionString(signedReply(13, "ABCDEFGHIJKLM"), text));
    EXPECT_EQ(text, "ABCDEFGHIJKLM");
    // A 35-byte buffer behind the 16-byte reply must not lend its bytes to the text.
    ASSERT_TRUE(decodeVersionString(signedReply(14, "ABCDEFGHIJKLMNOP", {}, 20), text));
    EXPECT_EQ(text, "ABCDEFGHIJKLM");
    ASSERT_TRUE(decodeVersionString(signedReply(0xFF, "ABCDEFGHIJKLM"), text));
    EXPECT_EQ(text, "ABCDEFGHIJKLM");
}

TEST(VersionString, ShortReplyOrZeroByteEndsTheText) {
    std::string text;
    ASSERT_TRUE(decodeVersionString(Bytes{'Q', 'Z', 5, 'a', 'b'}, text));
    EXPECT_EQ(text, "ab");
    ASSERT_TRUE(decodeVersionString(Bytes{'Q', 'Z', 5, 'a', 0, 'c', 'd', 'e'}, text));
    EXPECT_EQ(text, "a");
}

TEST(CardStatus, ReturnsSlotsZeroToThreeInOrder) {
    std::array<std::uint8_t, 4> status{};
    ASSERT_TRUE(decodeCardStatus(signedReply(8, "CARD", {0x01, 0x82, 0x43, 0xFF}), status));
    EXPECT_EQ(hexBytes(status), "01 82 43 FF");
}

TEST(CardStatus, RejectsAndLeavesStatusUntouched) {
    const std::array<std::uint8_t, 4> before{9, 9, 9, 9};
    for (const Bytes& reply : {signedReply(9, "CARD", {1, 2, 3, 4}), signedReply(8, "CARX", {1, 2, 3, 4}),
                               withByte(signedReply(8, "CARD", {1, 2, 3, 4}), 0, 'A'),
                               cut(signedReply(8, "CARD", {1, 2, 3, 4}), 10), Bytes{}}) {
        auto status = before;
        EXPECT_FALSE(decodeCardStatus(reply, status)) << hexBytes(reply);
        EXPECT_EQ(status, before);
    }
}

const std::string kThirtyTwo = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";

TEST(IdentityString, FullThirtyTwoCharactersWithoutZeroAreTerminated) {
    char buffer[33];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    ASSERT_TRUE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), kThirtyTwo);
    EXPECT_EQ(buffer[32], '\0');
}

TEST(IdentityString, BufferLargerThanTheTextGetsOnlyTheReplysCharacters) {
    char buffer[48];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    ASSERT_TRUE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), kThirtyTwo);
    for (std::size_t i = 32; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '\0') << i;
}

TEST(IdentityString, SmallBufferIsCutAndTerminated) {
    char buffer[10];
    ASSERT_TRUE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), "ABCDEFGHI");
    char one[1] = {'x'};
    ASSERT_TRUE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), one, 1));
    EXPECT_EQ(one[0], '\0');
}

TEST(IdentityString, StopsAtZeroAndAtTheReplysEnd) {
    char buffer[33];
    ASSERT_TRUE(decodeIdentityString(signedReply(0x20, std::string("TC-40\0junk", 10), {}, 35), buffer, 33));
    EXPECT_EQ(std::string(buffer), "TC-40");
    ASSERT_TRUE(decodeIdentityString(Bytes{'Q', 'Z', 0x20, 'A', 'B'}, buffer, 33));
    EXPECT_EQ(std::string(buffer), "AB");
}

TEST(IdentityString, RejectsWrongLengthByteOrNoRoom) {
    char buffer[33] = "keep";
    EXPECT_FALSE(decodeIdentityString(signedReply(0x1F, kThirtyTwo, {}, 35), buffer, 33));
    EXPECT_FALSE(decodeIdentityString(withByte(signedReply(0x20, kThirtyTwo, {}, 35), 0, 'X'), buffer, 33));
    EXPECT_FALSE(decodeIdentityString(Bytes{'Q', 'Z'}, buffer, 33));
    EXPECT_EQ(std::string(buffer), "keep");
    EXPECT_FALSE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), buffer, 0));
    EXPECT_FALSE(decodeIdentityString(signedReply(0x20, kThirtyTwo, {}, 35), nullptr, 33));
}

struct AckCase {
    const char* name;
    Bytes reply;
    std::uint8_t argument;
    bool accepted;
};

class PcCamTest : public ::testing::TestWithParam<AckCase> {};
TEST_P(PcCamTest, Judges) {
    EXPECT_EQ(decodePcCamReply(GetParam().reply), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(Cases, PcCamTest,
                         ::testing::Values(AckCase{"good", signedReply(6, "CHANGE", {2}), 2, true},
                                           AckCase{"lengthEight", signedReply(8, "CHANGE", {2}), 2, false},
                                           AckCase{"echoThree", signedReply(6, "CHANGE", {3}), 2, false},
                                           AckCase{"tag", signedReply(6, "CHANGX", {2}), 2, false},
                                           AckCase{"short", cut(signedReply(6, "CHANGE", {2}), 9), 2, false}),
                         testing::namedCases());

class FormatTest : public ::testing::TestWithParam<AckCase> {};
TEST_P(FormatTest, Judges) {
    EXPECT_EQ(decodeFormatReply(GetParam().reply, GetParam().argument), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTest,
    ::testing::Values(AckCase{"good", signedReply(8, "FORMAT", {2, 0}), 2, true},
                      AckCase{"failedFormat", signedReply(8, "FORMAT", {2, 1}), 2, false},
                      AckCase{"otherMedium", signedReply(8, "FORMAT", {1, 0}), 2, false},
                      AckCase{"lengthNine", signedReply(9, "FORMAT", {2, 0}), 2, false},
                      AckCase{"tag", signedReply(8, "FORMAX", {2, 0}), 2, false},
                      AckCase{"noOutcome", cut(signedReply(8, "FORMAT", {2, 0}), 10), 2, false}),
    testing::namedCases());

class FlashSaveTest : public ::testing::TestWithParam<AckCase> {};
TEST_P(FlashSaveTest, Judges) {
    EXPECT_EQ(decodeFlashSaveReply(GetParam().reply, GetParam().argument), GetParam().accepted);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, FlashSaveTest,
    ::testing::Values(AckCase{"one", signedReply(8, "SSVFLAS", {1}), 1, true},
                      AckCase{"zero", signedReply(8, "SSVFLAS", {0}), 0, true},
                      AckCase{"otherFlag", signedReply(8, "SSVFLAS", {0}), 1, false},
                      AckCase{"seventhTagByte", signedReply(8, "SSVFLAX", {1}), 1, false},
                      AckCase{"lengthNine", signedReply(9, "SSVFLAS", {1}), 1, false},
                      AckCase{"short", cut(signedReply(8, "SSVFLAS", {1}), 10), 1, false}),
    testing::namedCases());

TEST(CameraClock, DecodesSignedBytes) {
    std::tm time{};
    time.tm_wday = 4;
    time.tm_isdst = 1;
    ASSERT_TRUE(decodeCameraClock(Bytes{'Q', 'Z', 19, 1, 31, 23, 59, 58}, time));
    EXPECT_EQ(time.tm_year, 119);
    EXPECT_EQ(time.tm_mon, 0);
    EXPECT_EQ(time.tm_mday, 31);
    EXPECT_EQ(time.tm_hour, 23);
    EXPECT_EQ(time.tm_min, 59);
    EXPECT_EQ(time.tm_sec, 58);
    EXPECT_EQ(time.tm_wday, 4) << "fields the camera does not send stay";
    EXPECT_EQ(time.tm_isdst, 1);

    ASSERT_TRUE(decodeCameraClock(Bytes{'Q', 'Z', 0x80, 0xFF, 0x80, 0, 0, 0xFF}, time));
    EXPECT_EQ(time.tm_year + 1900, 1872);
    EXPECT_EQ(time.tm_mon, -2);
    EXPECT_EQ(time.tm_mday, -128);
    EXPECT_EQ(time.tm_sec, -1);
}

TEST(CameraClock, RejectsWithoutTouchingTheTime) {
    std::tm time{};
    time.tm_year = 77;
    EXPECT_FALSE(decodeCameraClock(Bytes{'Q', 'X', 19, 1, 1, 0, 0, 0}, time));
    EXPECT_FALSE(decodeCameraClock(Bytes{'Q', 'Z', 19, 1, 1, 0, 0}, time));
    EXPECT_FALSE(decodeCameraClock(Bytes{}, time));
    EXPECT_EQ(time.tm_year, 77);
}

TEST(CameraClock, EncodesEachFieldCutToEightBits) {
    std::tm time = trelvik::testing::calendarTime(2099, 12, 31, 23, 59, 59);
    EXPECT_EQ(hexBytes(encodeCameraClock(time)), "51 5A 63 0C 1F 17 3B 3B");

    time.tm_year = 100 + 300; // 2300: only the low byte of 300 goes out
    time.tm_mon = -1;
    time.tm_mday = 257;
    EXPECT_EQ(hexBytes(encodeCameraClock(time)), "51 5A 2C 00 01 17 3B 3B");

    std::tm back{};
    time.tm_year = -28;
    ASSERT_TRUE(decodeCameraClock(encodeCameraClock(time), back));
    EXPECT_EQ(back.tm_year, -28) << "1872 survives the round trip";
}

} // namespace
} // namespace trelvik::link
