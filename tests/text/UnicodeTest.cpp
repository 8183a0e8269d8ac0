// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/CaseName.h"
#include "text/Unicode.h"

namespace trelvik::text {
namespace {

using namespace std::string_literals;

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
    std::u16string wide; // conversion result
};

class Utf8Decoding : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Decoding, ValidityAndConversion) {
    const Utf8Case& c = GetParam();
    EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
    EXPECT_EQ(utf8ToUtf16(c.bytes), c.wide);
}

const std::u16string R(1, kReplacementCharacter);

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Decoding,
    ::testing::Values(Utf8Case{"Empty", "", true, u""}, Utf8Case{"Ascii", "Title=Cam", true, u"Title=Cam"},
                      Utf8Case{"EmbeddedNul", "a\0b"s, true, u"a\0b"s},
                      Utf8Case{"TwoByte", "Gr\xC3\xBC\xC3\x9F", true, u"Grüß"},
                      Utf8Case{"ThreeByte", "\xE6\x97\xA5\xE6\x9C\xAC", true, u"日本"},
                      Utf8Case{"FourByte", "\xF0\x9F\x98\x80", true, u"\U0001F600"},
                      Utf8Case{"LargestCodePoint", "\xF4\x8F\xBF\xBF", true, u"\U0010FFFF"},
                      Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", true, u"\uD7FF"},
                      Utf8Case{"FirstAfterSurrogates", "\xEE\x80\x80", true, u"\uE000"},
                      Utf8Case{"Cp1252Byte", "caf\xE9", false, u"caf" + R},
                      Utf8Case{"LoneContinuation", "\x80", false, R},
                      Utf8Case{"OverlongNulC0", "\xC0\x80", false, R + R},
                      Utf8Case{"OverlongC1", "\xC1\xBF", false, R + R},
                      Utf8Case{"OverlongThreeByte", "\xE0\x80\x80", false, R + R + R},
                      Utf8Case{"OverlongThreeByteHigh", "\xE0\x9F\xBF", false, R + R + R},
                      Utf8Case{"OverlongFourByte", "\xF0\x8F\xBF\xBF", false, R + R + R + R},
                      Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", false, R + R + R},
                      Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", false, R + R + R + R},
                      Utf8Case{"F5Lead", "\xF5\x80", false, R + R}, Utf8Case{"FFByte", "\xFF", false, R},
                      // A truncated sequence is one maximal subpart: one replacement, the next byte kept.
                      Utf8Case{"TruncatedThreeByte", "\xE6\x97", false, R},
                      Utf8Case{"TruncatedThenAscii",
                               "\xE6\x97"
                               "a",
                               false, R + u"a"},
                      Utf8Case{"TruncatedFourByte",
                               "\xF0\x9F\x98"
                               "b",
                               false, R + u"b"},
                      Utf8Case{"LeadThenLead", "\xC3\xC3\xA4", false, R + u"ä"}),
    testing::namedCases());

TEST(Utf16ToUtf8, EncodesEveryForm) {
    EXPECT_EQ(utf16ToUtf8(u""), "");
    EXPECT_EQ(utf16ToUtf8(u"a\0b"s), "a\0b"s);
    EXPECT_EQ(utf16ToUtf8(u"\u00FF\u0800\uFFFF"), "\xC3\xBF\xE0\xA0\x80\xEF\xBF\xBF");
    EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Utf16ToUtf8, UnpairedSurrogatesBecomeReplacement) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D}), r);
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xDE00}), r);
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, u'x'}), r + "x");
    // Reversed order is two unpaired surrogates, not a pair.
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), r + r);
    EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, 0xD83D, 0xDE00}), r + "\xF0\x9F\x98\x80");
}

TEST(Utf8RoundTrip, EveryCodePoint) {
    std::u16string all;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x10000) {
            all.push_back(static_cast<char16_t>(cp));
        } else {
            all.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            all.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    const std::string utf8 = utf16ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToUtf16(utf8), all);
}

TEST(Windows1252, LatinOneOutsideTheC1Block) {
    for (int b = 0; b < 256; ++b) {
        if (b >= 0x80 && b <= 0x9F) continue;
        EXPECT_EQ(windows1252ToUtf16(static_cast<unsigned char>(b)), static_cast<char16_t>(b)) << b;
    }
}

TEST(Windows1252, C1BlockSamples) {
    const struct {
        unsigned char byte;
        char16_t expected;
    } rows[] = {{0x80, u'€'}, {0x82, u'‚'}, {0x85, u'…'}, {0x8A, u'Š'}, {0x8C, u'Œ'}, {0x91, u'‘'},
                {0x92, u'’'}, {0x93, u'“'}, {0x94, u'”'}, {0x96, u'–'}, {0x97, u'—'}, {0x99, u'™'},
                {0x9C, u'œ'}, {0x9E, u'ž'}, {0x9F, u'Ÿ'}, {0x88, u'ˆ'}, {0x98, u'˜'}};
    for (const auto& row : rows)
        EXPECT_EQ(windows1252ToUtf16(row.byte), row.expected) << int(row.byte);
}

TEST(Windows1252, UndefinedBytesKeepTheirNumber) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(windows1252ToUtf16(b), char16_t{b});
}

TEST(Windows1252, AllBytesDistinctAndStringMatchesBytes) {
    std::string all;
    std::set<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
        seen.insert(windows1252ToUtf16(static_cast<unsigned char>(b)));
    }
    EXPECT_EQ(seen.size(), 256u);
    const std::u16string wide = windows1252ToUtf16(all);
    ASSERT_EQ(wide.size(), 256u);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(wide[b], windows1252ToUtf16(static_cast<unsigned char>(b)));
}

struct CutCase {
    std::string text;
    std::size_t maxBytes;
    std::string expected;
};

class CutUtf8 : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutUtf8, Table) {
    EXPECT_EQ(cutUtf8(GetParam().text, GetParam().maxBytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CutUtf8,
                         ::testing::Values(CutCase{"", 0, ""}, CutCase{"abc", 0, ""}, CutCase{"abc", 2, "ab"},
                                           CutCase{"abc", 99, "abc"}, CutCase{"a\xC3\xA4", 2, "a"},
                                           CutCase{"a\xC3\xA4", 3, "a\xC3\xA4"},
                                           CutCase{"\xE6\x97\xA5", 2, ""},
                                           CutCase{"x\xF0\x9F\x98\x80y", 4, "x"},
                                           CutCase{"x\xF0\x9F\x98\x80y", 5, "x\xF0\x9F\x98\x80"},
                                           // An ill-formed piece is one unit and is never split either.
                                           CutCase{"\xE6\x97"
                                                   "a",
                                                   1, ""},
                                           CutCase{"\xE6\x97"
                                                   "a",
                                                   2, "\xE6\x97"},
                                           CutCase{"\x80\x80", 1, "\x80"}),
                         testing::caseNames([](const CutCase& c) { return std::tuple(c.text, c.maxBytes); }));

TEST(CutUtf8, EveryLimitGivesTheLongestWholePrefix) {
    const std::string text = "a\xC3\xA4\xE6\x97\xA5\xF0\x9F\x98\x80"
                             "b\xE6\x97\xA5";
    for (std::size_t max = 0; max <= text.size() + 1; ++max) {
        const std::string_view cut = cutUtf8(text, max);
        ASSERT_LE(cut.size(), max);
        ASSERT_EQ(text.compare(0, cut.size(), cut), 0);
        ASSERT_TRUE(isValidUtf8(cut)) << max;
        // One more character would not have fitted.
        if (cut.size() < text.size()) {
            std::size_t next = cut.size() + 1;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
                ++next;
            EXPECT_GT(next, max) << max;
        }
    }
}

} // namespace
} // namespace trelvik::text
