// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "profile/ProfileDocument.h"
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

// One file, one query, the value expected (nullopt: the default, from a missing section,
// key or "=").
struct LookupCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

class ProfileLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, Table) {
    const LookupCase& c = GetParam();
    const ProfileDocument doc(c.file);
    EXPECT_EQ(narrowLookup(doc, c.section, c.key), c.expected);
    // The narrow call with the command file's buffer gives the same text, or "" by default.
    EXPECT_EQ(doc.getString(c.section, c.key, 256), c.expected.value_or(""));
}

const std::optional<std::string> kMissing;

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileLookup,
    ::testing::Values(
        // The file and its encoding.
        LookupCase{"EmptyFile", "", "", "", kMissing},
        LookupCase{"Utf8BomOnly", "\xEF\xBB\xBF", "s", "k", kMissing},
        LookupCase{"Utf8Bom", "\xEF\xBB\xBF[s]\nk=v", "s", "k", "v"},
        LookupCase{"SecondBomIsACharacter", "\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=v", "s", "k", kMissing},
        LookupCase{"SecondBomStartsAKeyName", "\xEF\xBB\xBF\xEF\xBB\xBF[s]=x", "", "\xEF\xBB\xBF[s]", "x"},
        LookupCase{"PlainUtf8ComesBackAsWritten", "[s]\nk=\xE6\x97\xA5\xE6\x9C\xAC \xC3\xA4", "s", "k",
                   "\xE6\x97\xA5\xE6\x9C\xAC \xC3\xA4"},
        LookupCase{"Cp1252Fallback", "[s]\nk=caf\xE9 \x80 \x93q\x94", "s", "k",
                   "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D"},
        // One ill-formed byte makes the whole file Windows-1252, valid UTF-8 elsewhere included.
        LookupCase{"FallbackIsForTheWholeFile", "[s]\nk=\xC3\xA4\nj=\xE4", "s", "k", "\xC3\x83\xC2\xA4"},
        LookupCase{"Cp1252UndefinedByte", "[s]\nk=\x81\x9D", "s", "k", "\xC2\x81\xC2\x9D"},
        LookupCase{"Utf8BomNeverFallsBack", "\xEF\xBB\xBF[s]\nk=a\xE4z", "s", "k", "a\xEF\xBF\xBDz"},
        // Lines.
        LookupCase{"CrLf", "[s]\r\nk=v\r\nj=w\r\n", "s", "j", "w"},
        LookupCase{"LoneCrSplitsALine", "[s]\nk=v\rj=w", "s", "k", "v"},
        LookupCase{"LoneCrSecondLine", "[s]\nk=v\rj=w", "s", "j", "w"},
        LookupCase{"RunsOfBreaks", "[s]\r\r\n\n\r\n\rk=v\n\r\n\rj=w", "s", "j", "w"},
        LookupCase{"LastLineWithoutEnd", "[s]\nk=v", "s", "k", "v"},
        LookupCase{"NulDoesNotEndALine", "[s]\nk=a\0b\nj=c"s, "s", "j", "c"},
        // White space.
        LookupCase{"WhiteSpaceSet", "[s]\nk=\t\v\f\x1A v w \x1A\f\v\t", "s", "k", "v w"},
        LookupCase{"WhiteSpaceAroundKey", "[s]\n \t\x1Ak\v = v", "s", "k", "v"},
        LookupCase{"OtherControlBytesStay", "[s]\nk=\x01v\x1F", "s", "k", "\x01v\x1F"},
        LookupCase{"DelStays", "[s]\nk=\x7Fv\x7F", "s", "k", "\x7Fv\x7F"},
        LookupCase{"NoBreakSpaceStays", "[s]\nk=\xC2\xA0v\xC2\xA0", "s", "k", "\xC2\xA0v\xC2\xA0"},
        LookupCase{"NoBreakSpaceNotAroundName", "[s]\n\xC2\xA0k=v", "s", "k", kMissing},
        // NUL ends a name or value.
        LookupCase{"NulEndsValue", "[s]\nk=ab\0cd"s, "s", "k", "ab"},
        LookupCase{"NulAtValueStart", "[s]\nk=\0cd"s, "s", "k", ""},
        LookupCase{"NulEndsKeyName", "[s]\nab\0cd=v"s, "s", "ab", "v"},
        LookupCase{"NulEndsSectionName", "[s\0t]\nk=v"s, "s", "k", "v"},
        LookupCase{"NulIsNotWhiteSpace", "[s]\nk=ab \0cd"s, "s", "k", "ab "},
        LookupCase{"NulInQueryEndsIt", "[s]\nk=v", "s\0x"s, "k\0y"s, "v"},
        // Section headers.
        LookupCase{"HeaderWithNote", "[c2] ; note\nk=v", "c2", "k", "v"},
        LookupCase{"NameToLastBracket", "[a]b]\nk=v", "a]b", "k", "v"},
        LookupCase{"NameToLastBracketNotFirst", "[a]b]\nk=v", "a", "k", kMissing},
        LookupCase{"DoubleBrackets", "[[x]]\nk=v", "[x]", "k", "v"},
        LookupCase{"NameTrimmed", "  [ y z ]  \nk=v", "y z", "k", "v"},
        LookupCase{"InnerBlanksMustMatch", "[ y z ]\nk=v", "y  z", "k", kMissing},
        LookupCase{"HeaderWinsOverEquals", "[a=b]\nk=v", "a=b", "k", "v"},
        LookupCase{"OpenBracketOnlyIsAKeyLine", "[s]\n[t\nk=v", "s", "k", "v"},
        LookupCase{"OpenBracketLineHasNoValue", "[s]\n[t\nk=v", "s", "[t", kMissing},
        LookupCase{"OpenBracketKey", "[s]\n[t=x", "s", "[t", "x"},
        LookupCase{"NoSectionForOpenBracketLine", "[s]\n[t\nk=v", "t", "k", kMissing},
        // The nameless section.
        LookupCase{"NamelessSection", "k=v\n[s]\nk=w", "", "k", "v"},
        LookupCase{"NamelessSectionByBlanks", "k=v\n[s]", "  ", "k", "v"},
        LookupCase{"EmptyHeaderIsShadowedByNameless", "[]\nk=v", "", "k", kMissing},
        // Duplicate sections.
        LookupCase{"FirstSectionWins", "[s]\nk=1\n[S]\nk=2\nj=3", "s", "k", "1"},
        LookupCase{"LaterSectionNotSearched", "[s]\nk=1\n[S]\nk=2\nj=3", "s", "j", kMissing},
        LookupCase{"OtherSectionsStillRead", "[s]\n[S]\nk=2\n[t]\nk=3", "t", "k", "3"},
        // Keys and values.
        LookupCase{"LaterEqualsStay", "[s]\n k = a = b ", "s", "k", "a = b"},
        LookupCase{"DoubleEquals", "[s]\nk==x", "s", "k", "=x"},
        LookupCase{"KeyWithoutEquals", "[s]\nk\n", "s", "k", kMissing},
        LookupCase{"EmptyValue", "[s]\nk=", "s", "k", ""},
        LookupCase{"BlankValue", "[s]\nk=   ", "s", "k", ""},
        LookupCase{"FirstKeyWinsEvenEmpty", "[s]\nk=\nK=x", "s", "k", ""},
        LookupCase{"FirstKeyWinsWithoutEquals", "[s]\nk\nk=x", "s", "k", kMissing},
        LookupCase{"FirstKeyWinsAnyCase", "[s]\nKEY=1\nkey=2", "s", "Key", "1"},
        LookupCase{"SemicolonInValue", "[s]\nk=a ; c", "s", "k", "a ; c"},
        LookupCase{"HashInValue", "[s]\nk=a # c", "s", "k", "a # c"},
        LookupCase{"SemicolonLineIsAKey", "[s]\n;k=v", "s", ";k", "v"},
        LookupCase{"SemicolonLineHidesNothing", "[s]\n;k=v", "s", "k", kMissing},
        LookupCase{"EmptyKeyName", "[s]\n = v", "s", "", "v"},
        // Matching names.
        LookupCase{"AsciiCaseFolds", "[Mass_Cmd_0A]\nName=v", "MASS_CMD_0a", "nAME", "v"},
        LookupCase{"NonAsciiCaseDiffers", "[\xC3\xA4]\nk=v", "\xC3\x84", "k", kMissing},
        LookupCase{"NonAsciiSameCase", "[\xC3\xA4]\nk=v", "\xC3\xA4", "k", "v"},
        LookupCase{"QueryNamesTrimmed", "[s]\na b=v", " \ts\x1A ", "\va b ", "v"},
        LookupCase{"KeysAreText", "[s]\n0100=v", "s", "100", kMissing},
        LookupCase{"HexKeysAreText", "[s]\n0x10=v", "s", "16", kMissing},
        LookupCase{"MissingSection", "[s]\nk=v", "t", "k", kMissing},
        // Quotes.
        LookupCase{"QuotesKeepInnerBlanks", "[s]\nk=\"  x  \"", "s", "k", "  x  "},
        LookupCase{"EmptyQuotes", "[s]\nk=\"\"", "s", "k", ""},
        LookupCase{"ThreeQuotes", "[s]\nk=\"\"\"", "s", "k", "\""},
        LookupCase{"OnlyOuterPair", "[s]\nk=\"a\" \"b\"", "s", "k", "a\" \"b"},
        LookupCase{"SingleQuotes", "[s]\nk='y'", "s", "k", "y"},
        LookupCase{"MixedQuotesStay", "[s]\nk=\"x'", "s", "k", "\"x'"},
        LookupCase{"OpeningOnlyStays", "[s]\nk=\"x", "s", "k", "\"x"},
        LookupCase{"ClosingOnlyStays", "[s]\nk=x\"", "s", "k", "x\""},
        LookupCase{"LoneQuoteStays", "[s]\nk=\"", "s", "k", "\""},
        LookupCase{"QuotesAfterTrimming", "[s]\nk=  'q'  ", "s", "k", "q"},
        LookupCase{"NotEnclosedAsAWhole", "[s]\nk=\"a;b\" ; note", "s", "k", "\"a;b\" ; note"},
        LookupCase{"QuotesSeenAfterNulCut", "[s]\nk=\"a\0b\""s, "s", "k", "\"a"}),
    [](const auto& info) { return std::string(info.param.name); });

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
    [](const auto& info) { return std::string(info.param.name); });

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
