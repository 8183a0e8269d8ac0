// SPDX-License-Identifier: MIT
// The system language from the locale's name, through the ICU loaded at first use.
#include <gtest/gtest.h>

#include "platform/linux/LocaleLangId.h"

namespace trelvik::platform::linux_impl {
namespace {

TEST(LocaleLangId, NamesBecomeTheLangIdsWindowsReports) {
    const struct {
        const char* locale;
        std::uint16_t langId;
    } rows[] = {{"de_CH.UTF-8", 0x0807},
                {"zh_TW", 0x0404},
                {"ja_JP.eucJP@x", 0x0411},
                {"fr_FR@euro", 0x040C},
                {"C", 0x0409},
                {"POSIX", 0x0409},
                {"", 0x0409},
                {"xx_YY", 0x0409}};
    for (const auto& row : rows)
        EXPECT_EQ(LangIdFromLocaleName(row.locale), row.langId) << row.locale;
}

} // namespace
} // namespace trelvik::platform::linux_impl
