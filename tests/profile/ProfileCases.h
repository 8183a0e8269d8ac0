// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "support/CaseName.h"

// The profile rules as one table of files and queries: what our reader must answer, and on a
// Windows build what the system's own profile calls are held against.
namespace trelvik::testing {

// One file, one query, the value expected (nullopt: the default, from a missing section,
// key or "=").
struct ProfileLookupCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

inline const std::optional<std::string> kMissing;

// Every row's name is unique: test names are made from it.
inline const std::vector<ProfileLookupCase>& profileLookupCases() {
    using namespace std::string_literals;
    using LookupCase = ProfileLookupCase;
    static const std::vector<ProfileLookupCase> cases{
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
        LookupCase{"QuotesSeenAfterNulCut", "[s]\nk=\"a\0b\""s, "s", "k", "\"a"}};
    return cases;
}

} // namespace trelvik::testing
