// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "profile/ProfileCases.h"
#include "profile/ProfileDocument.h"
#include "support/CaseName.h"
#include "text/Unicode.h"

namespace trelvik::profile {
namespace {

using namespace std::string_literals;

std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

std::optional<std::string> narrowLookup(const ProfileDocument& doc, std::string_view section,
                                        std::string_view key) {
    const auto value = doc.lookup(text::utf8ToUtf16(section), text::utf8ToUtf16(key));
    if (!value) return std::nullopt;
    return text::utf16ToUtf8(*value);
}

using testing::kMissing;
using LookupCase = testing::ProfileLookupCase;

class ProfileLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, Table) {
    const LookupCase& c = GetParam();
    const ProfileDocument doc(c.file);
    EXPECT_EQ(narrowLookup(doc, c.section, c.key), c.expected);
    // The narrow call with the command file's buffer gives the same text, or "" by default.
    EXPECT_EQ(doc.getString(c.section, c.key, 256), c.expected.value_or(""));
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileLookup, ::testing::ValuesIn(testing::profileLookupCases()),
                         testing::namedCases());

TEST(ProfileEncoding, Detected) {
    EXPECT_EQ(ProfileDocument("").encoding(), ProfileEncoding::Utf8);
    EXPECT_EQ(ProfileDocument("a=\xC3\xA4").encoding(), ProfileEncoding::Utf8);
    EXPECT_EQ(ProfileDocument("a=\xE4").encoding(), ProfileEncoding::Windows1252);
    EXPECT_EQ(ProfileDocument("\xEF\xBB\xBF"
                              "a=\xE4")
                  .encoding(),
              ProfileEncoding::Utf8WithBom);
    EXPECT_EQ(ProfileDocument("\xFF\xFE").encoding(), ProfileEncoding::Utf16Le);
    EXPECT_EQ(ProfileDocument("\xFE\xFF").encoding(), ProfileEncoding::Utf16Be);
}

TEST(ProfileUtf16, LittleEndianReadNarrowAndWide) {
    const std::u16string text =
        u"[Language]\r\n0=English,0409,0\r\n[String]\r\n0100 = \"Grüß 日本 \U0001F600\"\r\n";
    const ProfileDocument doc(utf16Bytes(text, false));
    EXPECT_EQ(doc.getStringW(u"string", u"0100", 256), u"Grüß 日本 \U0001F600");
    EXPECT_EQ(doc.getString("string", "0100", 256),
              "Gr\xC3\xBC\xC3\x9F \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(doc.getStringW(u"Language", u"0", 256), u"English,0409,0");
}

TEST(ProfileUtf16, BigEndian) {
    const ProfileDocument doc(utf16Bytes(u"[s]\nk=日本", true));
    EXPECT_EQ(doc.getStringW(u"s", u"k", 256), u"日本");
}

TEST(ProfileUtf16, BomOnlyAndOddTrailingByte) {
    EXPECT_EQ(ProfileDocument("\xFF\xFE").lookup(u"", u""), std::nullopt);
    // A dangling odd byte is no character.
    const ProfileDocument doc(utf16Bytes(u"[s]\nk=ab", false) + "c");
    EXPECT_EQ(doc.getStringW(u"s", u"k", 256), u"ab");
}

TEST(ProfileUtf16, UnpairedSurrogateNeverBecomesQuestionMark) {
    const std::u16string value{u'a', 0xD800, u'b'};
    const ProfileDocument doc(utf16Bytes(u"[s]\nk=" + value, false));
    EXPECT_EQ(doc.getStringW(u"s", u"k", 256), value);
    EXPECT_EQ(doc.getString("s", "k", 256), "a\xEF\xBF\xBD"
                                            "b");
}

TEST(ProfileUtf16, NarrowFileReadWide) {
    EXPECT_EQ(ProfileDocument("[s]\nk=caf\xE9").getStringW(u"s", u"k", 256), u"café");
    EXPECT_EQ(ProfileDocument("[s]\nk=caf\xC3\xA9").getStringW(u"s", u"k", 256), u"café");
}

// Truncation: the answer is the first min(L, N - 1) characters of the caller's encoding.
struct TruncationCase {
    const char* name;
    std::u16string value; // written into a UTF-8 file as "k=<value>"
    std::size_t bufferSize;
    std::size_t narrowBytes; // length of the narrow answer
    std::size_t wideUnits;   // length of the wide answer
};

class ProfileTruncation : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(ProfileTruncation, NarrowAndWide) {
    const TruncationCase& c = GetParam();
    const ProfileDocument doc("[s]\nk=" + text::utf16ToUtf8(c.value));
    const std::string narrow = doc.getString("s", "k", c.bufferSize);
    const std::u16string wide = doc.getStringW(u"s", u"k", c.bufferSize);
    EXPECT_EQ(narrow.size(), c.narrowBytes);
    EXPECT_EQ(wide.size(), c.wideUnits);
    // Both are prefixes; the narrow one always ends on a whole character.
    EXPECT_TRUE(text::isValidUtf8(narrow));
    EXPECT_EQ(text::utf16ToUtf8(c.value).compare(0, narrow.size(), narrow), 0);
    EXPECT_EQ(c.value.compare(0, wide.size(), wide), 0);
}

std::u16string repeat(std::u16string_view piece, std::size_t count) {
    std::u16string out;
    for (std::size_t i = 0; i < count; ++i)
        out += piece;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileTruncation,
    ::testing::Values(TruncationCase{"Ascii254", repeat(u"x", 254), 256, 254, 254},
                      TruncationCase{"Ascii255", repeat(u"x", 255), 256, 255, 255},
                      TruncationCase{"Ascii256", repeat(u"x", 256), 256, 255, 255},
                      TruncationCase{"LongLine", repeat(u"x", 100000), 256, 255, 255},
                      TruncationCase{"TitleBuffer", repeat(u"x", 200), 128, 127, 127},
                      // 200 two-byte characters: 255 would split the 128th.
                      TruncationCase{"TwoByteCutBack", repeat(u"ä", 200), 256, 254, 200},
                      TruncationCase{"TwoByteExactFit", u"a" + repeat(u"ä", 200), 256, 255, 201},
                      TruncationCase{"ThreeByteExactFit", repeat(u"日", 100), 256, 255, 100},
                      TruncationCase{"ThreeByteCutBack", u"a" + repeat(u"日", 100), 256, 253, 101},
                      TruncationCase{"FourByte", repeat(u"\U0001F600", 70), 256, 252, 140},
                      // The wide call may split a surrogate pair.
                      TruncationCase{"WideSplitsPair", repeat(u"\U0001F600", 200), 256, 252, 255},
                      TruncationCase{"BufferOne", u"abc", 1, 0, 0},
                      TruncationCase{"BufferZero", u"abc", 0, 0, 0},
                      TruncationCase{"BufferTwoBeforeTwoByte", u"äb", 2, 0, 1},
                      TruncationCase{"BufferThreeTwoByte", u"äb", 3, 2, 2}),
    testing::namedCases());

TEST(ProfileTruncationQuotes, QuotesGoBeforeCutting) {
    const ProfileDocument doc("[s]\nk=\"" + std::string(300, 'x') + "\"");
    EXPECT_EQ(doc.getString("s", "k", 256), std::string(255, 'x'));
    EXPECT_EQ(doc.getStringW(u"s", u"k", 256), std::u16string(255, u'x'));
}

TEST(ProfileTruncationQuotes, LookupIsNotCut) {
    const ProfileDocument doc("[s]\nk=" + std::string(5000, 'y'));
    EXPECT_EQ(doc.lookup(u"s", u"k")->size(), 5000u);
}

TEST(ProfileTruncationHelpers, Direct) {
    EXPECT_EQ(truncateWide(u"abc", 0), u"");
    EXPECT_EQ(truncateWide(u"abc", 3), u"ab");
    EXPECT_EQ(truncateWide(u"abc", 4), u"abc");
    EXPECT_EQ(truncateWide(u"abc", static_cast<std::size_t>(-1)), u"abc");
    EXPECT_EQ(truncateNarrow("a\xC3\xA4", 3), "a");
    EXPECT_EQ(truncateNarrow("a\xC3\xA4", 4), "a\xC3\xA4");
    EXPECT_EQ(truncateNarrow("abc", static_cast<std::size_t>(-1)), "abc");
}

TEST(ProfileIndex, ManySectionsEachAnswerTheirOwnKeys) {
    // The shape of a full command file: 256 sections of a dozen keys.
    std::string file = "[APP]\nTitle=T\n";
    for (int s = 0; s < 256; ++s) {
        char header[32];
        std::snprintf(header, sizeof header, "[Mass_Cmd_%02X]\n", s);
        file += header;
        file += "name=N" + std::to_string(s) + "\ncmd=" + std::to_string(s) + "\n";
        for (int k = 0; k < 10; ++k)
            file += std::to_string(k) + "=" + std::to_string(s * 100 + k) + ":L\n";
    }
    const ProfileDocument doc(file);
    for (int s = 0; s < 256; ++s) {
        char section[32];
        std::snprintf(section, sizeof section, "mass_cmd_%02x", s);
        ASSERT_EQ(doc.getString(section, "NAME", 256), "N" + std::to_string(s));
        for (int k = 0; k < 10; ++k)
            ASSERT_EQ(doc.getString(section, std::to_string(k), 256), std::to_string(s * 100 + k) + ":L");
        ASSERT_EQ(doc.getString(section, "10", 256), "");
    }
    EXPECT_EQ(doc.getString("Mass_Cmd_100", "name", 256), "");
    EXPECT_EQ(doc.getString("app", "title", 128), "T");
}

TEST(ProfileDocumentValue, CopiesStayValid) {
    ProfileDocument copy;
    {
        const ProfileDocument original("[s]\nk=value");
        copy = original;
    }
    EXPECT_EQ(copy.getString("s", "k", 256), "value");
    EXPECT_EQ(ProfileDocument().lookup(u"", u""), std::nullopt);
}

} // namespace
} // namespace trelvik::profile
