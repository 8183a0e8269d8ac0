// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/CaseName.h"
#include "support/CliRun.h"

namespace trelvik::cli {
namespace {

std::string fixture(const char* name) {
    return std::string(TRELVIK_FIXTURES) + "/i18n/" + name;
}

using trelvik::testing::CliRun;
const auto run = &trelvik::testing::runCommandLine;

TEST(MessagesCommand, ListsLanguagesChoiceAndMissingMessages) {
    const CliRun r = run({"messages", fixture("messages_utf16.ini"), "--langid", "0807"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    ASSERT_EQ(json["languages"].size(), 3u); // key 3 is missing, so key 4 is never read
    EXPECT_EQ(json["languages"][1],
              (nlohmann::json{{"display_name", "Deutsch"}, {"lang_id", 0xFF07}, {"base", 0x1000}}));
    EXPECT_EQ(json["languages"][2]["display_name"], "\xe4\xb8\xad\xe6\x96\x87(\xe7\xb9\x81\xe9\xab\x94)");
    EXPECT_EQ(json["chosen"], 1);
    EXPECT_EQ(json["missing"]["0x0000"], nlohmann::json::array());
    EXPECT_EQ(json["missing"]["0x1000"], (nlohmann::json{304, 329}));
    const auto& chinese = json["missing"]["0x2000"];
    ASSERT_EQ(chinese.size(), 29u);
    EXPECT_EQ(chinese.front(), 277);
    EXPECT_EQ(chinese.back(), 329);
    // Keys keep their documented order.
    EXPECT_LT(r.out.find("\"languages\""), r.out.find("\"chosen\""));
    EXPECT_LT(r.out.find("\"chosen\""), r.out.find("\"missing\""));
}

struct LangIdCase {
    const char* langId;
    int chosen;
};

class MessagesLangIdTest : public ::testing::TestWithParam<LangIdCase> {};

TEST_P(MessagesLangIdTest, ChoosesAsStartUpDoes) {
    const CliRun r = run({"messages", fixture("messages_utf16.ini"), "--langid", GetParam().langId});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["chosen"], GetParam().chosen) << GetParam().langId;
}

INSTANTIATE_TEST_SUITE_P(LangIds, MessagesLangIdTest,
                         ::testing::Values(LangIdCase{"0409", 0}, LangIdCase{"0x0407", 1},
                                           LangIdCase{"c07", 1}, LangIdCase{"0404", 2}, LangIdCase{"0804", 0},
                                           LangIdCase{"0411", 0}),
                         testing::caseNames(&LangIdCase::langId));

TEST(MessagesCommand, EmptyLanguageListChoosesNothing) {
    const CliRun r = run({"messages", fixture("no_languages.ini"), "--langid", "0409"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_TRUE(json["languages"].empty());
    EXPECT_TRUE(json["chosen"].is_null());
    EXPECT_TRUE(json["missing"].empty());
}

TEST(MessagesCommand, DefaultsToSystemLanguage) {
    const CliRun r = run({"messages", fixture("messages_utf16.ini")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(nlohmann::json::parse(r.out)["chosen"].is_number_integer());
}

TEST(MessagesCommand, BadInputIsAnError) {
    EXPECT_EQ(run({"messages", fixture("messages_utf16.ini"), "--langid", "zz"}).code, 1);
    EXPECT_EQ(run({"messages", fixture("messages_utf16.ini"), "--langid", "12345"}).code, 1);
    EXPECT_EQ(run({"messages", fixture("messages_utf16.ini"), "--langid"}).code, 1);
    const CliRun missing = run({"messages", fixture("none.ini"), "--langid", "0409"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, fixture("none.ini") + " does not exist!\n");
    const CliRun folder = run({"messages", fixture(""), "--langid", "0409"});
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err, fixture("") + " is a folder, not a file!\n");
    EXPECT_EQ(run({"messages"}).code, 1);
}

} // namespace
} // namespace trelvik::cli
