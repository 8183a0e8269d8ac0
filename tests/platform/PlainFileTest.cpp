// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "platform/PlainFile.h"
#include "support/CaseName.h"
#include "support/Files.h"

namespace trelvik::platform {
namespace {

namespace fs = std::filesystem;

class PlainFileTest : public ::testing::Test {
protected:
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename().string());
        return found;
    }
    testing::TempDir scratch{"trelvik-plain"};
    fs::path folder = scratch.path();
};

TEST_F(PlainFileTest, ReplaceSwapsInTheWholeContent) {
    std::ofstream(folder / "cam.json") << "old and longer";
    std::string reason;
    ASSERT_TRUE(replacePlainFile((folder / "cam.json").string(), "new", reason)) << reason;
    std::ifstream in(folder / "cam.json");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    EXPECT_EQ(names(), std::set<std::string>{"cam.json"});
}

// Whatever step fails, the temporary file is gone again and the path is as it was.
struct FailedReplaceCase {
    const char* name;
    fs::path (*plant)(const fs::path& folder); // returns the path to replace
};

class PlainFileReplaceFailureTest : public PlainFileTest,
                                    public ::testing::WithParamInterface<FailedReplaceCase> {};

TEST_P(PlainFileReplaceFailureTest, LeavesNothingBehind) {
    const fs::path target = GetParam().plant(folder);
    const auto before = names();
    std::string reason;
    EXPECT_FALSE(replacePlainFile(target.string(), "{}", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(names(), before);
}

INSTANTIATE_TEST_SUITE_P(Steps, PlainFileReplaceFailureTest,
                         ::testing::Values(
                             // The rename fails: a folder stands at the path, empty or not.
                             FailedReplaceCase{"renameOntoAnEmptyFolder",
                                               [](const fs::path& f) {
                                                   fs::create_directory(f / "cam.json");
                                                   return f / "cam.json";
                                               }},
                             FailedReplaceCase{"renameOntoAFolderWithAFile",
                                               [](const fs::path& f) {
                                                   fs::create_directory(f / "cam.json");
                                                   std::ofstream(f / "cam.json" / "inside") << "kept";
                                                   return f / "cam.json";
                                               }},
                             // The creation fails: a file stands where the folder should be.
                             FailedReplaceCase{"creationInsideAFile",
                                               [](const fs::path& f) {
                                                   std::ofstream(f / "sub") << "not a folder";
                                                   return f / "sub" / "cam.json";
                                               }}),
                         testing::namedCases());

} // namespace
} // namespace trelvik::platform
