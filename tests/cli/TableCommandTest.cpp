// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/CliRun.h"

namespace trelvik::cli {
namespace {

std::string fixture(const char* name) {
    return std::string(TRELVIK_FIXTURES) + "/cmdtable/" + name;
}

using trelvik::testing::CliRun;
const auto run = &trelvik::testing::runCommandLine;

TEST(TableCommand, PrintsTitleAndEntries) {
    const CliRun r = run({"table", fixture("example.ini")});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["title"], "Trail camera settings");
    ASSERT_EQ(json["entries"].size(), 2u);
    const auto& list = json["entries"][0];
    EXPECT_EQ(list["section"], "Mass_Cmd_00");
    EXPECT_EQ(list["name"], "RESOLUTION_MODE");
    EXPECT_EQ(list["cmd"], 1);
    EXPECT_EQ(list["count"], 3);
    EXPECT_EQ(list["items"][1], (nlohmann::json{{"value", 1}, {"label", "1280x960"}}));
    EXPECT_TRUE(list["range"].is_null());
    const auto& ranged = json["entries"][1];
    EXPECT_EQ(ranged["cmd"], 56);
    EXPECT_TRUE(ranged["items"].empty());
    EXPECT_EQ(ranged["range"], (nlohmann::json{1, 10}));
    // Keys keep their documented order.
    EXPECT_LT(r.out.find("\"title\""), r.out.find("\"entries\""));
    EXPECT_LT(r.out.find("\"items\""), r.out.find("\"range\""));
}

TEST(TableCommand, OldWindowsFileComesOutAsUtf8) {
    const CliRun r = run({"table", fixture("cp1252_labels.ini")});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["title"], "Kamera \xc3\xbc"
                             "berall");
    EXPECT_EQ(json["entries"][0]["items"][0]["label"], "Klein \xe2\x80\x93 schnell");
}

TEST(TableCommand, RejectedFilePrintsTheToolsText) {
    const CliRun r = run({"table", fixture("missing_choice.ini")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Section [Mass_Cmd_01] does not have \"1\" key value\n");
}

TEST(TableCommand, MissingFileOrArgumentIsAnError) {
    const CliRun missing = run({"table", fixture("none.ini")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, fixture("none.ini") + " does not exist!\n");
    const CliRun folder = run({"table", fixture("")});
    EXPECT_EQ(folder.code, 1);
    EXPECT_EQ(folder.err, fixture("") + " is a folder, not a file!\n");
    EXPECT_EQ(run({"table"}).code, 1);
    EXPECT_EQ(run({"table", "a", "b"}).code, 1);
}

} // namespace
} // namespace trelvik::cli
