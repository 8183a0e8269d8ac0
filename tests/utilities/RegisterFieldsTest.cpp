// SPDX-License-Identifier: MIT
#include "utilities/RegisterFields.h"

#include <gtest/gtest.h>

#include <string>

#include "utilities/UtilityBoxes.h"

namespace trelvik::utilities {
namespace {

TEST(StrictField, OnlyHexadecimalDigitsAreWritten) {
    struct Case {
        std::u16string field;
        FieldProblem problem;
    };
    const Case cases[] = {
        {u"", FieldProblem::Empty},
        {u"41", FieldProblem::None},
        {u"fE", FieldProblem::None},
        {u"0x41", FieldProblem::NotHex},
        {u"41 ", FieldProblem::NotHex},
        {u"-1", FieldProblem::NotHex},
        {std::u16string(u"4\0", 2), FieldProblem::NotHex},
        {u"\uFF14\uFF11", FieldProblem::NotHex}, // full-width digits are no hexadecimal digits
        {u"\u0664\u0661", FieldProblem::NotHex}, // nor are Arabic-Indic ones
        {std::u16string(39, u'F'), FieldProblem::None},
        {std::u16string(40, u'0'), FieldProblem::TooLong},
        {std::u16string(40, u'0') + u"x", FieldProblem::NotHex},
    };
    for (const Case& c : cases)
        EXPECT_EQ(strictFieldProblem(c.field), c.problem) << c.field.size();
}

TEST(MediumName, TakesThePlaceOfOnePlaceholderAndIsNeverAFormat) {
    EXPECT_EQ(withMediumName("The \"%s\" medium", "%s%n%d"), "The \"%s%n%d\" medium");
    EXPECT_EQ(withMediumName("%s, then %s", "A"), "A, then %s");
    EXPECT_EQ(withMediumName("Fail to query card status!", "A"), "Fail to query card status!");
}

} // namespace
} // namespace trelvik::utilities
